"""The warning before the action: a balloon from the tray icon when the
blinking begins, and a click on it as the last chance to cancel."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, MAIN_TITLE, MESSAGES, BenchTest, artefact, poll  # noqa: E402

BALLOON = re.compile(r"^(\d+) 秒后执行关机。单击这里打开窗口可以取消。$")
SECONDS, LEAD, WATCH = 14, 10, 4


class Balloon(BenchTest):
    bench_options = {"relay": ["user32.ExitWindowsEx"], "version": "winxp"}

    def setUp(self):
        super().setUp()
        self.proc = self.bench.start()
        poll(self.bench.tray_icons, 5)

    def balloons(self):
        """Wine draws a balloon as a visible tooltip holding its text."""
        return [t for t in self.bench.driver("tooltips") or [] if t["visible"] and t["balloon"]]

    def arm_power_off(self, seconds, lead):
        b = self.bench
        b.choose("cmbAction", 0)
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", str(seconds))
        b.set_text("txtBlink", str(lead))
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        b.xdo("key", "Escape")  # left hidden in the tray, as a user leaves it
        poll(lambda: not b.find(MAIN_TITLE), 3)

    def test_a_balloon_when_the_blinking_begins_and_a_click_on_it_cancels(self):
        b = self.bench
        self.arm_power_off(SECONDS, LEAD)
        shown = poll(self.balloons, SECONDS)
        self.assertTrue(shown, "no balloon")
        self.assertEqual(len(shown), 1)
        self.assertRegex(shown[0]["text"], BALLOON)
        left = int(BALLOON.match(shown[0]["text"]).group(1))
        self.assertIn(left, (LEAD, LEAD - 1))  # the seconds left at the tick that began the blinking
        # Once for the arming: the blinking goes on and no balloon with fewer seconds follows.
        # (A look may miss the balloon for a moment: only a balloon with
        # another text counts.)
        self.assertFalse(poll(lambda: any(t["text"] != shown[0]["text"] for t in self.balloons()), WATCH),
                         self.balloons())
        b.screenshot(artefact("balloon.png"), "260x110+0+0")
        # The shell's notification for a click on the balloon (Wine's tray sends none).
        b.post(b.main, MESSAGES["tray_callback"], 0, MESSAGES["balloon_click"])
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE), 3), "the window did not come back")
        button = b.control("cmdTimer")["hwnd"]
        self.assertTrue(poll(lambda: b.driver("focus", b.main)[0]["focus"] == button, 3), "the button has no focus")
        b.xdo("key", "Return")
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3), "Enter did not disarm")
        self.assertFalse(poll(lambda: self.proc.poll() is not None, LEAD), "the program ended")
        self.assertEqual([f for f, _ in b.relay_calls() if f.endswith("ExitWindowsEx")], [])

    def test_no_balloon_without_blinking(self):
        b = self.bench
        b.send(b.control("chkBlink")["hwnd"], BM_CLICK)
        self.arm_power_off(3, 5)
        self.assertFalse(poll(self.balloons, 2.5))
        self.wait_gone(self.proc, 10)  # and the action runs as before


if __name__ == "__main__":
    unittest.main(verbosity=2)
