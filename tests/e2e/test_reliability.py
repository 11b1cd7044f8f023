"""Never in the way of the system, never out of the user's reach."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import MAIN_TITLE, BenchTest, ShiftedClock, poll  # noqa: E402


class SessionEnd(BenchTest):
    bench_options = {"relay": ["shell32.Shell_NotifyIconA", "shell32.Shell_NotifyIconW"]}

    def test_log_off_ends_a_hidden_armed_program_without_its_action(self):
        b = self.bench
        proc = b.start()
        b.set_text("txtPeriod", "10")
        b.send(b.control("cmdTimer")["hwnd"], 0xF5)
        b.xdo("key", "Escape")
        poll(lambda: b.find(MAIN_TITLE) is None, 3)
        b.raw("endsession")
        self.wait_gone(proc, 15)
        messages = [int(args.split(",")[0], 16) for f, args in b.relay_calls() if f.endswith(("Shell_NotifyIconA", "Shell_NotifyIconW"))]
        self.assertEqual(messages[-1], 2, "the icon was not deleted on the way out")

    def test_a_session_end_while_the_tray_menu_is_open_ends_the_program(self):
        b = self.bench
        proc = b.start()
        b.tray_right_click()
        self.assertTrue(poll(lambda: [w for w in b.driver("windows") if w["class"] == "#32768" and w["visible"]], 3),
                        "no menu")
        b.send(b.main, 0x16, 1, 0)  # WM_ENDSESSION, as the system sends it
        self.wait_gone(proc, 10)


class ClockShift(BenchTest):
    """The program's own clock is moved with the clock-shift library, as after
    a sleep or a change of the system time."""
    bench_options = {"relay": ["user32.ExitWindowsEx"]}

    def setUp(self):
        self.clock = ShiftedClock(self)
        super().setUp()

    def test_clock_set_back_waits_and_set_forward_past_the_due_time_warns_first(self):
        b = self.bench
        proc = b.start(env=self.clock.env)
        b.choose("cmbAction", 2)
        b.choose("cmbUnit", 1)
        b.set_text("txtPeriod", "10")
        b.send(b.control("cmdTimer")["hwnd"], 0xF5)
        self.assertTrue(poll(lambda: b.text("lblStatus").endswith("秒后执行"), 3))
        self.clock.shift(-3600)
        self.assertTrue(poll(lambda: int(b.text("lblStatus").split()[0]) > 3600, 3), b.text("lblStatus"))
        self.assertIsNone(proc.poll())
        self.clock.shift(11 * 60)  # past the due time, with no word of it
        self.assertFalse(poll(lambda: proc.poll() is not None, 20), "the action came without its warning")
        self.wait_gone(proc, 20)
        self.assertIn("ExitWindowsEx", " ".join(f for f, _ in b.relay_calls()))


class ShellRestart(BenchTest):
    def test_icon_comes_back_with_its_current_tooltip(self):
        b = self.bench
        b.start()
        b.set_text("txtPeriod", "10")
        b.send(b.control("cmdTimer")["hwnd"], 0xF5)
        self.assertEqual(len(poll(b.tray_icons, 5)), 1)
        b.raw("trayremove", b.main, 1)
        self.assertTrue(poll(lambda: not b.tray_icons(), 5))
        b.raw("broadcast", "TaskbarCreated")
        self.assertEqual(len(poll(b.tray_icons, 5)), 1)
        tip = b.tray_tooltip()
        self.assertTrue(tip and tip.startswith("程序将要在"), tip)


    def test_esc_after_the_icon_was_lost_puts_it_back_before_hiding(self):
        b = self.bench
        b.start()
        self.assertEqual(len(poll(b.tray_icons, 5)), 1)
        b.raw("trayremove", b.main, 1)
        self.assertTrue(poll(lambda: not b.tray_icons(), 5))
        b.xdo("key", "Escape")
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE) is None, 3))
        self.assertEqual(len(b.tray_icons()), 1, "hidden without an icon")


class TrayIconRefused(BenchTest):
    def test_the_window_stays_until_the_shell_takes_the_icon(self):
        b = self.bench
        shell = b.refusing_shell(8)
        b.start()
        b.xdo("key", "Escape")
        self.assertFalse(poll(lambda: b.find(MAIN_TITLE) is None, 1.5), "hidden without an icon")
        self.assertEqual(b.tray_icons(), [])
        shell.wait(15)
        self.assertTrue(poll(b.tray_icons, 6), "the icon did not come once the shell took it")  # asked every 3 s
        b.xdo("key", "Escape")
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE) is None, 3))


class SecondStart(BenchTest):
    def test_brings_the_running_window_to_the_front_after_the_message(self):
        b = self.bench
        b.start()
        b.xdo("key", "Escape")
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE) is None, 3))
        second = b.start(wait=False)
        box = b.message_box("By: Brindle", 15)
        self.assertIsNotNone(box, "no message")
        self.assertTrue(poll(lambda: (b.driver("foreground") or [{}])[0].get("hwnd") == box["hwnd"], 3))
        b.xdo("key", "Return")
        self.wait_gone(second, 10)
        self.assertTrue(poll(lambda: (b.driver("foreground") or [{}])[0].get("hwnd") == b.main, 5),
                        b.driver("foreground"))
        self.assertIsNotNone(b.find(MAIN_TITLE))


class SingleInstanceRace(BenchTest):
    def test_twenty_copies_at_once_leave_one(self):
        b = self.bench
        procs = [b.start(wait=False) for _ in range(20)]

        def boxes():
            return [w for w in b.driver("windows") if w["text"] == "By: Brindle" and w["visible"]]
        self.assertEqual(len(poll(lambda: len(boxes()) == 19 and boxes(), 60) or boxes()), 19)
        for box in boxes():
            buttons = [p for p in b.driver("tree", box["hwnd"])[1:] if p["class"].lower() == "button"]
            b.send(buttons[0]["hwnd"], 0xF5)
        self.assertTrue(poll(lambda: sum(p.poll() is None for p in procs) == 1, 30))
        self.assertEqual(len(b.tray_icons()), 1)
        self.assertIsNotNone(b.find(MAIN_TITLE))


class LibraryPaths(BenchTest):
    bench_options = {"relay": ["kernel32.LoadLibraryA", "kernelbase.LoadLibraryA", "kernel32.LoadLibraryW",
                               "kernelbase.LoadLibraryW"], "version": "winxp"}

    def test_late_bound_libraries_load_by_full_path(self):
        b = self.bench
        proc = b.start()
        b.choose("cmbAction", 4)  # hibernate: loads the power and token libraries
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", "1")
        b.send(b.control("cmdTimer")["hwnd"], 0xF5)
        self.wait_gone(proc, 10)
        dlls = ("skinh_vb6.dll", "advapi32.dll", "powrprof.dll", "shell32.dll")
        # The program's own loads (Wine's loads its drivers through the same calls).
        loads = [a for f, a in b.relay_calls()
                 if f.lower().endswith(("loadlibrarya", "loadlibraryw")) and any(d in a.lower() for d in dlls)]
        names = " ".join(loads).lower()
        for dll in dlls:
            self.assertIn(dll, names)
        for a in loads:
            self.assertRegex(a, r'"[A-Za-z]:\\\\', a)  # every path is absolute


if __name__ == "__main__":
    unittest.main(verbosity=2)
