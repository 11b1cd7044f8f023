"""The real program armed with blinking for a long time (SOAK_SECONDS, default
600), sampling its memory and object counts. Run by scripts/reliability.sh.
Prints: samples, failures (growth), then the first and last samples."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, MAIN_TITLE, Bench, poll  # noqa: E402


def vmrss(pid):
    with open("/proc/%d/status" % pid) as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))


def main():
    seconds = int(os.environ.get("SOAK_SECONDS", "600"))
    b = Bench(label="long_soak")
    samples = []
    try:
        b.start()
        win_pid = b.find(MAIN_TITLE)["pid"]
        unix_pid = b.unix_pid("Dusklet.exe")
        b.choose("cmbUnit", 1)
        b.set_text("txtPeriod", str(seconds // 60 + 5))
        b.set_text("txtBlink", "999")
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        poll(lambda: b.text("lblStatus").endswith("秒后执行"), 3)
        end = time.time() + seconds
        while True:
            r = b.driver("resources", win_pid)[0]
            samples.append((round(time.time() - end + seconds), vmrss(unix_pid), r["handles"], r["gdi"], r["user"]))
            if time.time() >= end:
                break
            time.sleep(min(30, max(0, end - time.time())))
    finally:
        b.close()
    # Flat: after the first minute nothing grows by more than noise.
    settled = [s for s in samples if s[0] >= 60] or samples
    growth = settled[-1][1] - settled[0][1] > 512 or any(settled[-1][i] > settled[0][i] for i in (2, 3, 4))
    for log, name, address in b.faults():
        print("the program faulted: %s at %s (%s)" % (name, address, log), file=sys.stderr)
    print("%d %d" % (len(samples), 1 if growth or b.faults() else 0))
    for s in (samples[0], samples[-1]):
        print("t=%ds VmRSS=%d KB handles=%d GDI=%d USER=%d" % s)


if __name__ == "__main__":
    main()
