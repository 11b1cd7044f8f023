"""After a schedule has ended without its action: no warning balloon outlives
it, a click on a stale one cannot arm the action again, and About stays
modal whatever closes meanwhile."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import ABOUT_TITLE, BM_CLICK, MAIN_TITLE, MESSAGES, BenchTest, poll  # noqa: E402

WARNING = re.compile(r"^\d+ 秒后执行")


class AfterTheSchedule(BenchTest):
    version = None

    def setUp(self):
        if self.version is None:
            self.skipTest("a base class")
        self.bench_options = {"relay": ["user32.ExitWindowsEx", "user32.LockWorkStation"], "version": self.version}
        super().setUp()
        self.proc = self.bench.start()
        poll(self.bench.tray_icons, 5)

    def warnings(self):
        """The balloons that warn of an action (Wine draws them as visible tooltips)."""
        return [t for t in self.bench.driver("tooltips") or []
                if t["visible"] and t["balloon"] and WARNING.match(t["text"])]

    def arm(self, action_index, seconds, lead):
        b = self.bench
        b.choose("cmbAction", action_index)
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", str(seconds))
        b.set_text("txtBlink", str(lead))
        before = b.text("cmdTimer")
        b.click_control("cmdTimer")
        # Armed (a short countdown may have failed back to idle already).
        self.assertTrue(poll(lambda: b.text("cmdTimer") != before, 5))

    def failed_lock(self):
        """锁定计算机 in 3 s, with the balloon from the start; Wine cannot lock,
        so it fails with a message, which this returns."""
        self.arm(5, 3, 3)
        box = self.bench.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no failure message")
        return box

    def assert_withdrawn(self):
        # Gone at once; 1.5 s leaves a slow look time to see it.
        self.assertTrue(poll(lambda: not self.warnings(), 1.5), self.warnings())

    def click_stale_balloon_and_press_enter(self):
        b = self.bench
        # The shell's notification for a click on the balloon (Wine's tray sends none).
        b.post(b.main, MESSAGES["tray_callback"], 0, MESSAGES["balloon_click"])
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE), 3), "the window did not come back")
        b.xdo("key", "Return")
        self.assertFalse(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 2), "Enter armed the action again")
        self.assertEqual(b.text("lblStatus"), "定时器禁止")


class DisarmedByAClick(AfterTheSchedule):
    version = "winxp"

    def test_the_balloon_goes_and_a_click_on_it_cannot_arm_again(self):
        b = self.bench
        self.arm(0, 40, 39)  # 关机: the balloon on the first tick
        self.assertTrue(poll(self.warnings, 5), "no balloon")
        b.click_control("cmdTimer")  # a real click leaves the focus on the button
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3))
        self.assert_withdrawn()
        b.xdo("key", "Escape")  # hidden, as a user leaves it
        poll(lambda: not b.find(MAIN_TITLE), 3)
        self.click_stale_balloon_and_press_enter()
        self.assertEqual([f for f, _ in b.relay_calls() if f.endswith("ExitWindowsEx")], [])


class AfterAFailure(AfterTheSchedule):
    """Wine cannot lock: the lock fails at the due moment."""
    version = "win7"

    def test_the_balloon_goes_with_the_failure(self):
        b = self.bench
        box = self.failed_lock()
        self.assert_withdrawn()
        b.close_message_box(box)
        self.assertTrue(poll(lambda: not b.find("Dusklet"), 5))
        self.click_stale_balloon_and_press_enter()


class AboutStaysModal(AfterTheSchedule):
    version = "win10"

    def about_over_the_failure(self):
        """The failure message, then About from the tray menu: both hold the window."""
        box = self.failed_lock()
        self.bench.choose_about()
        about = self.bench.find(ABOUT_TITLE, 5)
        self.assertIsNotNone(about, "About did not open")
        return box, about

    def test_closing_a_message_box_does_not_give_the_window_back_its_input(self):
        b = self.bench
        box, about = self.about_over_the_failure()
        b.close_message_box(box)
        self.assertTrue(poll(lambda: not b.find("Dusklet"), 5))
        # Still modal: the window takes no input until About closes.
        self.assertFalse(poll(lambda: b.find(MAIN_TITLE)["enabled"], 2), "the window took input beside About")
        self.assertTrue(b.find(ABOUT_TITLE))
        b.send(about["hwnd"], 0x10)  # WM_CLOSE, as its close button
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE)["enabled"], 3))
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)  # and it works again
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3))

    def test_closing_about_first_leaves_the_window_held_by_the_message(self):
        b = self.bench
        box, about = self.about_over_the_failure()
        b.send(about["hwnd"], 0x10)  # WM_CLOSE, as its close button
        self.assertTrue(poll(lambda: not b.find(ABOUT_TITLE), 3))
        self.assertFalse(poll(lambda: b.find(MAIN_TITLE)["enabled"], 2), "the window took input under the message")
        b.click_control("cmdTimer")
        self.assertFalse(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 1.5), "a click armed under the message")
        self.assertIsNotNone(b.find("Dusklet"))
        b.close_message_box(box)
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE)["enabled"], 3))


if __name__ == "__main__":
    unittest.main(verbosity=2)
