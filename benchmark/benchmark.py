"""Footprint and timing of Dusklet under Wine, side by side with the minimal
window-and-tray program built with the same toolchain. Prints one table.

Run through scripts/benchmark.sh, which builds both first. BENCH_ARMED_SECONDS
sets the armed period measured for CPU (default 300), BENCH_RUNS the start-up
runs (default 7), BENCH_FIRES the countdowns timed for fire latency (default 10).
"""
import math
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import bench as e2e  # noqa: E402
from bench import APP_DIR, BM_CLICK, Bench, poll  # noqa: E402

PRODUCT = os.environ["DUSKLET_PRODUCT_EXE"]
RUNS = int(os.environ.get("BENCH_RUNS", "7"))
ARMED = int(os.environ.get("BENCH_ARMED_SECONDS", "300"))
FIRES = int(os.environ.get("BENCH_FIRES", "10"))
TICK = os.sysconf("SC_CLK_TCK")


def proc_status(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def kill(b, name):
    pid = b.unix_pid(name)
    while pid:
        os.kill(pid, signal.SIGKILL)
        poll(lambda: b.unix_pid(name) != pid, 5)
        pid = b.unix_pid(name)


def start_up_and_memory(b):
    """Median time from process start to visible window, and peak resident memory."""
    results = {}
    for exe, title in (("Dusklet.exe", e2e.MAIN_TITLE), ("minimal.exe", "Minimal")):
        times, peaks = [], []
        for _ in range(RUNS):
            out = b.driver("launch", "C:\\Dusklet\\" + exe, title)
            times.append(out[0]["ms"])
            pid = b.unix_pid(exe)
            time.sleep(1)  # let it settle before reading its peak
            peaks.append(proc_status(pid, "VmHWM"))
            kill(b, exe)
        results[exe] = (statistics.median(times), statistics.median(peaks))
    return results


def arm(b, action_index, unit_index, amount, blink=None):
    b.choose("cmbAction", action_index)
    b.choose("cmbUnit", unit_index)
    b.set_text("txtPeriod", str(amount))
    if blink:
        b.set_text("txtBlink", str(blink))
    before = time.time()
    b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
    return before, time.time()


def armed_cpu(b, minutes, blink, seconds):
    """CPU seconds per hour of the armed program, hidden in the tray as it waits."""
    b.start()
    pid = b.unix_pid("Dusklet.exe")
    arm(b, 3, 1, minutes, blink=blink)
    b.post(b.main, 0x10)  # closing hides it to the tray
    start_cpu, start = cpu_seconds(pid), time.time()
    time.sleep(seconds)
    used = cpu_seconds(pid) - start_cpu
    elapsed = time.time() - start
    kill(b, "Dusklet.exe")
    return used * 3600 / elapsed, elapsed


def wakeups():
    b = Bench(relay=["user32.KillTimer"], version="winxp")
    try:
        b.start()
        arm(b, 3, 1, 600)
        log = b.logs[-1]
        def count():
            with open(log, errors="replace") as f:
                return sum(1 for line in f if "Call window proc" in line and "msg=WM_TIMER" in line)
        first, t0 = count(), time.time()
        time.sleep(20)
        return (count() - first) / (time.time() - t0)
    finally:
        b.close()


def fire_latency():
    b = Bench(relay=["powrprof.SetSuspendState"], version="winxp")
    latencies = []
    try:
        while len(latencies) < FIRES:
            b.start()
            before, after = arm(b, 4, 2, 2)  # hibernate in 2 seconds: Wine does nothing, the program ends
            if math.floor(before) != math.floor(after):
                kill(b, "Dusklet.exe")
                continue  # armed across a second boundary: the due second is ambiguous
            due = math.floor(before) + 2
            log = b.logs[-1]
            def called():
                with open(log, errors="replace") as f:
                    return ":Call powrprof.SetSuspendState" in f.read()
            poll(called, 10, 0.002)
            latencies.append(time.time() - due)
            b.procs[-1].wait(10)
    finally:
        b.close()
    return max(latencies), statistics.median(latencies)


def imports(exe):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], capture_output=True, text=True).stdout
    return sorted({line.split(":")[1].strip() for line in out.splitlines() if "DLL Name:" in line})


def main():
    b = Bench(version="winxp")
    try:
        shutil.copy(os.path.join(e2e.WIN_BUILD, "minimal.exe"), APP_DIR)
        b.driver("screen")  # a warm wineserver for both
        startup = start_up_and_memory(b)
        cpu_per_hour, armed_for = armed_cpu(b, ARMED // 60 + 5, 30, ARMED)  # blink on, lead 30 s
        blinking_per_hour, blinked_for = armed_cpu(b, 10, 999, 60)  # inside the blink lead throughout
    finally:
        b.close()
    rate = wakeups()
    worst, median_latency = fire_latency()

    size = os.path.getsize(PRODUCT)
    minimal = os.path.join(os.path.dirname(PRODUCT), "minimal.exe")
    d_ms, d_mem = startup["Dusklet.exe"]
    m_ms, m_mem = startup["minimal.exe"]
    rows = [
        ("Executable size (32-bit, stripped)", "%d KB" % math.ceil(size / 1024),
         "%d KB" % math.ceil(os.path.getsize(minimal) / 1024), "<= 64 KB", size <= 64 * 1024),
        ("Imported DLLs", " ".join(imports(PRODUCT)), " ".join(imports(minimal)), "system DLLs only", True),
        ("Start-up to visible window, median of %d (ms)" % RUNS, "%.1f" % d_ms, "%.1f" % m_ms,
         "ratio %.2f <= 1.05" % (d_ms / m_ms), d_ms / m_ms <= 1.05),
        ("Peak resident memory (KB)", "%d" % d_mem, "%d" % m_mem, "ratio %.2f <= 1.10" % (d_mem / m_mem),
         d_mem / m_mem <= 1.10),
        ("CPU armed in the tray, blink option on (s per armed hour, over %d s)" % armed_for, "%.2f" % cpu_per_hour,
         "", "<= 0.5", cpu_per_hour <= 0.5),
        ("CPU while the icon blinks (s per hour of blinking, over %d s)" % blinked_for, "%.2f" % blinking_per_hour,
         "", "(for information)", True),
        ("Timer wake-ups per second", "%.2f" % rate, "", "2", abs(rate - 2) < 0.1),
        ("Fire latency over %d countdowns, worst / median (s)" % FIRES, "%.3f / %.3f" % (worst, median_latency),
         "", "worst <= 0.55", worst <= 0.55),
    ]
    print("Wine runs the %s build (the executable measured for size is the 32-bit product)." % e2e.ARCH)
    print("| Figure | Dusklet | Minimal | Target | Met |")
    print("|---|---|---|---|---|")
    for name, dusklet, mini, target, met in rows:
        print("| %s | %s | %s | %s | %s |" % (name, dusklet, mini, target, "yes" if met else "no"))


if __name__ == "__main__":
    main()
