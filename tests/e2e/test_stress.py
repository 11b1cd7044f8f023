"""The tray icon hammered with right clicks, double clicks and menu choices
while the schedule is armed and disarmed in a loop and a short countdown
blinks: no fault, never more than one About window, and the program ends
exactly once, with one power call (or none, by Exit), or stays as its last
click left it."""
import os
import random
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import ABOUT_TITLE, BM_CLICK, MAIN_TITLE, BenchTest, poll  # noqa: E402

SECONDS = float(os.environ.get("STRESS_SECONDS", "30"))


class TrayHammer(BenchTest):
    bench_options = {"relay": ["powrprof.SetSuspendState", "user32.ExitWindowsEx"], "version": "winxp"}

    def menus(self):
        return [w for w in self.bench.driver("windows") or [] if w["class"] == "#32768" and w["visible"]]

    def abouts(self):
        return [w for w in self.bench.driver("windows") or [] if w["text"] == ABOUT_TITLE and w["visible"]]

    def choose_from_menu(self, last):
        """Opens the tray menu and clicks its first (Exit) or last (About) item;
        False when no menu came."""
        b = self.bench
        b.tray_right_click()
        menu = poll(self.menus, 2)
        if not menu:
            return False
        m = menu[0]
        y = m["sy"] + m["h"] - 10 if last else m["sy"] + 10
        b.xdo("mousemove", m["sx"] + 20, y, "sleep", "0.3", "click", "1")
        return True

    def power_calls(self):
        return [f for f, _ in self.bench.relay_calls() if f.endswith(("SetSuspendState", "ExitWindowsEx"))]

    def hammer(self, rng):
        """One blow at the tray: a right click, About from the menu, a double
        click or Esc."""
        b = self.bench
        step = rng.choice(["right", "about", "about", "double", "escape"])
        if step == "right":
            b.tray_right_click()
            poll(self.menus, 1)
            b.xdo("key", "Escape")
        elif step == "about":
            self.choose_from_menu(last=True)
        elif step == "double":
            b.tray_double_click()
        else:
            b.xdo("key", "Escape")
        self.most_abouts = max(self.most_abouts, len(self.abouts()))

    def start_blinking_from_the_first_tick(self):
        b = self.bench
        proc = b.start()
        poll(b.tray_icons, 5)
        b.choose("cmbAction", 4)  # hibernate: Wine does nothing, and the program ends
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", "999")
        b.set_text("txtBlink", "999")
        self.most_abouts = 0
        return proc

    def test_hammering_the_tray_while_arming_disarming_and_counting_down(self):
        b = self.bench
        proc = self.start_blinking_from_the_first_tick()
        button = b.control("cmdTimer")["hwnd"]
        rng = random.Random(int(os.environ.get("RANDOM_SEED", "11")))

        # Armed and disarmed in a loop, by clicks that arrive from outside
        # whatever runs at that moment, while the tray is hammered.
        clicks, end = 0, time.monotonic() + SECONDS / 2
        while time.monotonic() < end and proc.poll() is None:
            b.post(button, BM_CLICK)
            clicks += 1
            self.hammer(rng)
        self.assertIsNone(proc.poll(), "ended though never due")
        self.assertGreater(clicks, 5)
        # As the last click left it.
        poll(lambda: not self.menus(), 2)
        if b.find(ABOUT_TITLE):
            b.tray_double_click()  # closes About and shows the window
        caption = "禁止定时器(&D)" if clicks % 2 else "激活定时器(&E)"
        self.assertTrue(poll(lambda: b.text("cmdTimer") == caption, 3), b.text("cmdTimer"))

        # Armed for three seconds with blinking, hammered till it fires.
        if clicks % 2:
            b.post(button, BM_CLICK)
            self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3))
        b.set_text("txtPeriod", "3")
        b.set_text("txtBlink", "5")
        b.post(button, BM_CLICK)
        end = time.monotonic() + SECONDS / 2
        while time.monotonic() < end and proc.poll() is None:
            try:
                self.hammer(rng)
            except AssertionError:
                if proc.poll() is None:
                    raise  # the icon went, not because the program fired
        self.wait_gone(proc, 10)
        self.assertLessEqual(self.most_abouts, 1, "two About windows at once")
        self.assertEqual(self.power_calls(), ["powrprof.SetSuspendState"])
        self.assertEqual(b.tray_icons(), [])
        self.assertIsNone(b.find(MAIN_TITLE))

    def test_exit_from_the_menu_of_a_hammered_armed_program_ends_it_without_its_action(self):
        b = self.bench
        proc = self.start_blinking_from_the_first_tick()
        b.post(b.control("cmdTimer")["hwnd"], BM_CLICK)
        rng = random.Random(int(os.environ.get("RANDOM_SEED", "11")) + 1)
        end = time.monotonic() + SECONDS / 3
        while time.monotonic() < end:
            self.hammer(rng)
        self.assertIsNone(proc.poll(), "ended though never due")
        poll(lambda: not self.menus(), 2)
        self.assertTrue(self.choose_from_menu(last=False), "no menu")
        self.wait_gone(proc, 10)
        self.assertLessEqual(self.most_abouts, 1, "two About windows at once")
        self.assertEqual(self.power_calls(), [])
        self.assertEqual(b.tray_icons(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
