"""Hiding, showing, the tray menu, Exit and the keyboard, on the real program."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import MAIN_TITLE, BenchTest, poll  # noqa: E402

WM_SYSCOMMAND, SC_CLOSE = 0x112, 0xF060


class Visibility(BenchTest):
    bench_options = {"relay": ["user32.ExitWindowsEx"]}

    def setUp(self):
        super().setUp()
        self.proc = self.bench.start()
        poll(self.bench.tray_icons, 5)

    def shown(self):
        return self.bench.find(MAIN_TITLE) is not None

    def double_click_tray(self):
        self.bench.tray_click("click", "--repeat", "2", "--delay", "80", "1")

    def menu(self):
        return [w for w in self.bench.driver("windows") if w["class"] == "#32768" and w["visible"]]

    def test_esc_in_a_box_hides_and_a_tray_double_click_shows_again(self):
        b = self.bench
        b.set_text("txtPeriod", "25")
        b.click_control("txtPeriod")
        b.xdo("key", "Escape")
        self.assertTrue(poll(lambda: not self.shown(), 3))
        self.assertEqual(len(b.tray_icons()), 1)
        self.double_click_tray()
        self.assertTrue(poll(self.shown, 3))
        self.assertEqual(b.text("txtPeriod"), "25")
        # The box that had the focus has it again.
        box = b.control("txtPeriod")["hwnd"]
        self.assertTrue(poll(lambda: b.driver("focus", b.main)[0]["focus"] == box, 3))

    def test_close_requests_hide_and_an_armed_countdown_keeps_going(self):
        b = self.bench
        b.set_text("txtPeriod", "5")
        b.choose("cmbAction", 2)
        b.choose("cmbUnit", 1)  # 5 minutes
        b.click_control("cmdTimer")
        poll(lambda: b.text("lblStatus").endswith("秒后执行"), 3)
        b.xdo("key", "alt+F4")
        self.assertTrue(poll(lambda: not self.shown(), 3))
        self.double_click_tray()
        self.assertTrue(poll(self.shown, 3))
        b.post(b.main, WM_SYSCOMMAND, SC_CLOSE, 0)
        self.assertTrue(poll(lambda: not self.shown(), 3))
        first = b.text("lblStatus")
        self.assertTrue(poll(lambda: b.text("lblStatus") != first, 3), "the countdown stopped while hidden")
        self.double_click_tray()
        self.assertTrue(poll(self.shown, 3))
        self.assertEqual(b.text("cmdTimer"), "禁止定时器(&D)")

    def test_single_clicks_do_nothing(self):
        b = self.bench
        b.xdo("key", "Escape")
        poll(lambda: not self.shown(), 3)
        b.tray_click("click", "1")
        self.assertFalse(poll(self.shown, 1))
        self.assertEqual(self.menu(), [])

    def test_menu_opens_at_the_pointer_and_closes_on_a_click_elsewhere(self):
        b = self.bench
        b.tray_right_click()
        menu = poll(self.menu, 3)
        self.assertTrue(menu)
        self.assertLess(abs(menu[0]["sx"] - 13) + abs(menu[0]["sy"] - 32), 40)
        b.xdo("mousemove", 700, 600, "click", "1")
        self.assertTrue(poll(lambda: not self.menu(), 3), "the menu stayed open")
        self.assertIsNone(self.proc.poll())

    def test_exit_drops_an_armed_schedule(self):
        b = self.bench
        b.choose("cmbUnit", 2)  # 1 second is due at once
        b.set_text("txtPeriod", "30")
        b.click_control("cmdTimer")
        poll(lambda: b.text("lblStatus").endswith("秒后执行"), 3)
        b.tray_right_click()
        menu = poll(self.menu, 3)
        b.xdo("mousemove", menu[0]["sx"] + 20, menu[0]["sy"] + 10, "click", "1")  # 退出(&X), the first item
        self.wait_gone(self.proc, 10)
        self.assertEqual(b.tray_icons(), [])
        self.assertEqual([f for f, _ in b.relay_calls() if f.endswith("ExitWindowsEx")], [])

    def test_keyboard_alone_arms_and_disarms(self):
        b = self.bench
        b.xdo("key", "alt+e")
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3))
        b.xdo("key", "alt+d")
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3))


if __name__ == "__main__":
    unittest.main(verbosity=2)
