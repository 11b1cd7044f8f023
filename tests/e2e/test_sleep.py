"""The deadline through sleep, on the real program: the machine asked to stay
awake and a wake-up set while armed (traced), no tick while it waits hidden,
and a warning period instead of the action right after a resume. Wine never
sends the power notifications: the tests send them as the system would."""
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, MAIN_TITLE, BenchTest, ShiftedClock, poll  # noqa: E402

TRACED = ["user32.ExitWindowsEx"] + ["%s.%s" % (m, f) for m in ("kernel32", "kernelbase")
                                     for f in ("SetThreadExecutionState", "SetWaitableTimer", "CancelWaitableTimer")]
WM_POWERBROADCAST, PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC = 0x218, 4, 0x12
BALLOON = re.compile(r"^(\d+) 秒后执行关机。单击这里打开窗口可以取消。$")


class Armed(BenchTest):
    """The program started with a clock of its own, to be armed by the test."""

    def setUp(self):
        self.clock = ShiftedClock(self)
        super().setUp()
        self.proc = self.bench.start(env=self.clock.env)
        poll(self.bench.tray_icons, 5)

    def arm(self, amount, unit, lead):
        b = self.bench
        b.choose("cmbAction", 0)  # 关机
        b.choose("cmbUnit", unit)
        b.set_text("txtPeriod", str(amount))
        b.set_text("txtBlink", str(lead))
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)

    def calls(self, *names):
        """The traced calls of these functions, in order: (name, arguments)."""
        return [(f.split(".")[-1], a) for f, a in self.bench.relay_calls() if f.split(".")[-1] in names]

    def traced_failures(self):
        """The failed calls the program told the debugger's output of."""
        with open(self.bench.logs[-1], errors="replace") as f:
            return re.findall(r'OutputDebugStringA "(Dusklet: .*)\\n"', f.read())

    def ticks(self):
        """How many WM_TIMER messages the program has taken so far."""
        with open(self.bench.logs[-1], errors="replace") as f:
            return sum("(WM_TIMER)" in line for line in f)

    def balloons(self):
        return [t for t in self.bench.driver("tooltips") or [] if t["visible"] and t["balloon"]]


class Sleep(Armed):
    bench_options = {"relay": TRACED, "version": "winxp", "debug": ["+msg", "+debugstr"]}

    def test_arming_asks_to_stay_awake_and_sets_the_wake_up_and_disarming_takes_both_back(self):
        b = self.bench
        self.arm(10, 1, 30)
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3))
        armed = self.calls("SetThreadExecutionState", "SetWaitableTimer", "CancelWaitableTimer")
        self.assertEqual(armed[0], ("SetThreadExecutionState", "80000001"))  # ES_CONTINUOUS | ES_SYSTEM_REQUIRED
        self.assertEqual(len(armed), 2, armed)
        name, args = armed[1]
        self.assertEqual(name, "SetWaitableTimer")
        handle, _, period, routine, context, resume = args.split(",")
        self.assertEqual((period, routine, context, resume), ("00000000",) * 3 + ("00000001",))  # wakes the machine
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        self.assertEqual(self.calls("SetThreadExecutionState", "SetWaitableTimer", "CancelWaitableTimer")[2:],
                         [("SetThreadExecutionState", "80000000"), ("CancelWaitableTimer", handle)])
        # Each of those calls, and the timers', was taken for what it returned.
        self.assertEqual(self.traced_failures(), [])

    def test_hidden_no_tick_runs_and_the_window_shows_the_countdown_at_once(self):
        b = self.bench
        self.arm(10, 1, 30)
        armed = time.monotonic()
        b.xdo("key", "Escape")
        self.assertTrue(poll(lambda: not b.find(MAIN_TITLE), 3))
        time.sleep(2)  # the hide settles, and any tick queued before it is taken
        before = self.ticks()
        time.sleep(60)  # the time is the test: a minute of waiting in the tray
        self.assertEqual(self.ticks(), before, "the program ticked while it waited hidden")
        b.tray_double_click()
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE), 3))
        left = 600 - (time.monotonic() - armed)
        shown = int(b.text("lblStatus").split()[0])
        self.assertLessEqual(abs(shown - left), 2, (shown, left))

    def test_a_resume_past_the_due_moment_warns_30_seconds_before_the_action(self):
        b = self.bench
        self.arm(60, 2, 5)  # 60 s, blinking for the last 5
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3))
        b.send(b.main, WM_POWERBROADCAST, PBT_APMSUSPEND)
        time.sleep(2)  # the system lets programs run a moment before it sleeps: the window's ticks go on
        self.clock.shift(120)  # asleep past the due moment
        b.send(b.main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)
        resumed = time.monotonic()
        shown = poll(self.balloons, 3)
        self.assertTrue(shown, "no warning after the resume")
        self.assertIn(int(BALLOON.match(shown[0]["text"]).group(1)), (30, 29), shown[0]["text"])
        self.assertFalse(poll(lambda: self.proc.poll() is not None, 25 - (time.monotonic() - resumed)),
                         "the action ran during the warning")
        self.assertEqual(self.calls("ExitWindowsEx"), [])
        self.wait_gone(self.proc, 15)
        self.assertEqual([n for n, _ in self.calls("ExitWindowsEx")], ["ExitWindowsEx"])


WM_TIMECHANGE = 0x1E


class ClockSet(Armed):
    """The system time set while armed: Wine says nothing of a clock moved by
    the preload, so the test sends WM_TIMECHANGE as Windows would."""
    bench_options = {"relay": TRACED, "version": "win10"}

    def panels(self):
        return [w for w in self.bench.driver("windows") if w["class"] == "DuskletWarning" and w["visible"]]

    def countdown(self):
        """The seconds the panel shows, or None without a panel."""
        panel = self.panels()
        parts = panel and self.bench.driver("tree", panel[0]["hwnd"])[1:]
        texts = [w["text"] for w in parts or [] if w["text"].endswith("秒后执行关机")]
        return int(texts[0].split()[0]) if texts else None

    def test_set_forward_past_the_due_moment_a_full_warning_comes_first(self):
        b = self.bench
        self.arm(60, 2, 5)
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3))
        b.xdo("key", "Escape")
        self.clock.shift(300)
        b.send(b.main, WM_TIMECHANGE)
        changed = time.monotonic()
        self.assertTrue(poll(lambda: self.countdown() in (30, 29, 28), 3), self.countdown())
        self.assertFalse(poll(lambda: self.proc.poll() is not None, 25 - (time.monotonic() - changed)),
                         "the action ran during the warning")
        self.assertEqual(self.calls("ExitWindowsEx"), [])
        self.wait_gone(self.proc, 15)
        self.assertAlmostEqual(time.monotonic() - changed, 30, delta=3)
        self.assertEqual([n for n, _ in self.calls("ExitWindowsEx")], ["ExitWindowsEx"])

    def test_set_back_out_of_the_warning_it_ends_and_comes_again(self):
        b = self.bench
        self.arm(25, 2, 15)
        b.xdo("key", "Escape")
        self.assertTrue(poll(lambda: self.countdown() is not None, 15), "no panel")
        self.clock.shift(-60)
        b.send(b.main, WM_TIMECHANGE)
        self.assertTrue(poll(lambda: not self.panels(), 3), "the panel stayed: %s" % self.countdown())
        b.tray_double_click()
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE), 3))
        shown = int(b.text("lblStatus").split()[0])
        self.assertGreater(shown, 60)  # the seconds really left
        self.assertEqual(self.calls("ExitWindowsEx"), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
