"""无人使用 on the real program, with real pointer moves (Wine's
GetLastInputInfo follows those over a window of its own: notepad's, the
panel's): armed for one minute, a move at +30 s puts the warning off to
+90 s and the action to +120 s; a move during the warning takes it away, and
the program stays armed."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import poll  # noqa: E402
from when import WhenBench  # noqa: E402


class NobodyThere(WhenBench):
    def setUp(self):
        super().setUp()
        self.pad = self.notepad()

    def move(self, dx, window=None):
        """The pointer moved within a window: notepad's, or the one given."""
        w = window or self.pad
        self.bench.xdo("mousemove", w["sx"] + w["w"] // 2 + dx, w["sy"] + w["h"] // 2)

    def test_a_minute_with_nobody_then_the_warning_and_the_call(self):
        self.move(0)
        self.start_armed("/l", "/idle", "1", "/w", "5")
        t0 = self.armed_at
        time.sleep(max(0.0, t0 + 30 - time.monotonic()))  # the time is the test: someone at +30 s
        self.move(10)
        self.assertFalse(poll(self.panels, t0 + 85 - time.monotonic()), "warned before a minute had passed")
        self.assertTrue(poll(self.panels, 15), "no warning")
        self.assertFalse(poll(self.calls, t0 + 112 - time.monotonic()), "the action came before its warning ran")
        self.wait_for_the_call(t0 + 135 - time.monotonic())

    def test_a_move_during_the_warning_takes_it_away(self):
        self.move(0)
        self.start_armed("/l", "/idle", "1", "/w", "5")
        panel = poll(self.panels, 75)
        self.assertTrue(panel, "no warning")
        self.move(10, panel[0])
        self.assertTrue(poll(lambda: not self.panels(), 3), "the warning stayed")
        self.assertFalse(poll(self.calls, 35))
        b = self.bench
        self.assertEqual(b.text("cmdTimer"), "禁止定时器(&D)")


if __name__ == "__main__":
    unittest.main(verbosity=2)
