"""Random typed and pasted strings in the four number boxes of the real
program, then arming in both modes. Run by scripts/reliability.sh.
Prints: cases tried, failures."""
import os
import random
import re
import sys

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, Bench, poll  # noqa: E402

BOUNDS = {"txtPeriod": (1, 999), "txtHour": (1, 12), "txtMin": (0, 59), "txtBlink": (1, 999)}
PIECES = ["0", "5", "12", "59", "999", "1000", "abc", "时间", "锁定", "-", ".", " ", "\t", "1e3", "07", "x9",
          "9" * 300, "０１２", "\u00a0", "+3", "3.5", "12:30", "😀"]


def leading_number(text):
    """The number at the start of the text, as the program reads it."""
    m = re.match(r"[ \t]*([-+]?)([0-9]*)(?:\.([0-9]*))?", text)  # ASCII digits only
    whole, fraction = m.group(2), m.group(3) or ""
    if not whole and not fraction:
        return 0.0
    value = float((whole or "0") + "." + (fraction or "0"))
    return -value if m.group(1) == "-" else value


def main():
    count = int(os.environ.get("RANDOM_INPUTS", "500"))
    rng = random.Random(int(os.environ.get("RANDOM_SEED", "7")))
    b = Bench(label="long_random_input")
    failures = 0
    try:
        proc = b.start()
        b.click_control("opt(1)")
        poll(lambda: b.control("txtHour")["enabled"], 3)
        names = list(BOUNDS)
        for case in range(count):
            name = rng.choice(names)
            text = "".join(rng.choice(PIECES) for _ in range(rng.randint(0, 4)))
            if rng.random() < 0.3:  # typed with real keys: only digits get through
                b.click_control(name)
                b.xdo("key", "End")
                b.xdo("type", "--delay", "5", "--", text[:6])
            else:
                b.set_text(name, text)
            shown = b.text(name)
            lo, hi = BOUNDS[name]
            n = leading_number(shown)
            if not lo <= n <= hi:
                failures += 1
                print("out of range: %s %r after %r" % (name, shown, text), file=sys.stderr)
            if proc.poll() is not None:
                failures += 1
                print("the program ended", file=sys.stderr)
                break
        for mode in ("opt(0)", "opt(1)"):
            b.click_control(mode)
            b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
            if not poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3):
                failures += 1
                print("arming failed in", mode, file=sys.stderr)
            b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
            poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3)
    finally:
        b.close()
    for log, name, address in b.faults():
        print("the program faulted: %s at %s (%s)" % (name, address, log), file=sys.stderr)
        failures += 1
    print("%d %d" % (count + 2, failures))


if __name__ == "__main__":
    main()
