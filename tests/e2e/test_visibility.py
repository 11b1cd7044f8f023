"""Hiding, showing, the tray menu, Exit and the keyboard, on the real program."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import LAYOUT, MAIN_TITLE, BenchTest, poll, px  # noqa: E402

WM_CLOSE, WM_SYSCOMMAND, SC_CLOSE = 0x10, 0x112, 0xF060


class Visibility(BenchTest):
    bench_options = {"relay": ["user32.ExitWindowsEx"]}

    def setUp(self):
        super().setUp()
        self.proc = self.bench.start()
        poll(self.bench.tray_icons, 5)

    def shown(self):
        return self.bench.find(MAIN_TITLE) is not None

    def double_click_tray(self):
        self.bench.tray_double_click()

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
        first = int(b.text("lblStatus").split()[0])
        # Hidden, it waits without a tick; shown again, the strip has counted on.
        time.sleep(2)  # the time is the test: seconds pass while it is hidden
        self.double_click_tray()
        self.assertTrue(poll(self.shown, 3))
        self.assertLess(int(b.text("lblStatus").split()[0]), first, "the countdown stopped while hidden")
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


class PointerAtHighDpi(BenchTest):
    """At 240 DPI the window is wider than 515 pixels, the numbers of the tray's
    mouse messages: the pointer crossing it must not pass for a tray click."""
    bench_options = {"dpi": 240}

    def menu(self):
        return [w for w in self.bench.driver("windows") if w["class"] == "#32768" and w["visible"]]

    def test_a_pointer_sweep_over_the_window_is_no_tray_click(self):
        b = self.bench
        b.start()
        poll(b.tray_icons, 5)
        main = b.find(MAIN_TITLE)
        self.assertEqual(main["cw"], px(LAYOUT["main"]["width"], 240))
        border = (main["w"] - main["cw"]) // 2
        left, top = main["sx"] + border, main["sy"] + main["h"] - main["ch"] - border
        rows = {c["name"]: c for c in LAYOUT["main"]["controls"]}
        # The window's bare surface between the button and the status strip.
        below_button = rows["cmdTimer"]["top"] + rows["cmdTimer"]["height"]
        y = top + px((below_button + rows["lblStatus"]["top"]) // 2, 240)
        moves = []
        for x in list(range(0, 500, 10)) + list(range(500, 530)) + list(range(530, main["cw"], 10)):
            moves += ["mousemove", left + x, y, "sleep", "0.01"]
        b.xdo(*moves)
        self.assertFalse(poll(self.menu, 1), "a pointer movement opened the tray menu")
        self.assertTrue(b.find(MAIN_TITLE))
        # The tray icon itself still answers.
        b.tray_right_click()
        self.assertTrue(poll(self.menu, 3), "no menu on a right click")
        b.xdo("key", "Escape")
        self.assertTrue(poll(lambda: not self.menu(), 3))
        b.post(b.main, WM_CLOSE)  # hides the window
        self.assertTrue(poll(lambda: not b.find(MAIN_TITLE), 3))
        b.tray_double_click()
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE), 3))


if __name__ == "__main__":
    unittest.main(verbosity=2)
