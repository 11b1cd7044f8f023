"""程序退出 on the real program: armed from the window on Wine's notepad, and
from a command line on two of them; the warning comes within a second of
the last one's end (the program waits on the processes, with no timer), and
the power call after the 30-second warning."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, MAIN_TITLE, WM_CLOSE, artefact, poll  # noqa: E402
from when import CB_SHOWDROPDOWN, WhenBench  # noqa: E402


class ProgramExit(WhenBench):
    def test_armed_from_the_window_on_a_program_that_shows_in_the_list(self):
        b = self.bench
        pad = self.notepad()
        b.start()
        self.arm_in_the_window(0)  # 程序退出
        programs = b.control("cmbProgram")
        b.send(programs["hwnd"], CB_SHOWDROPDOWN, 1)  # the list opens: read afresh
        items = poll(lambda: b.control("cmbProgram")["items"], 5)
        entry = [i for i, text in enumerate(items) if text.endswith("(notepad.exe)")]
        self.assertTrue(entry, items)
        self.assertEqual(items[entry[0]], pad["text"] + " (notepad.exe)")
        b.send(programs["hwnd"], CB_SHOWDROPDOWN, 0)
        b.choose("cmbProgram", entry[0])
        b.set_text("txtBlink", "5")
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3), b.text("cmdTimer"))
        self.assertEqual(b.tray_tooltip(), "notepad.exe 退出后执行关机")
        self.assertTrue(poll(lambda: b.text("lblStatus") == "等待 notepad.exe 退出，还有 1 个在运行", 3),
                        b.text("lblStatus"))
        window = b.find(MAIN_TITLE)
        b.screenshot(artefact("window.png"), "%dx%d+%d+%d" % (window["w"], window["h"], window["sx"], window["sy"]))
        b.post(pad["hwnd"], WM_CLOSE)
        ended = time.monotonic()
        self.assertTrue(poll(self.panels, 3, 0.05), "no warning")
        self.assertLessEqual(time.monotonic() - ended, 1.5)
        self.assertIn(self.countdown(), (30, 29))
        self.assertFalse(poll(self.calls, 25))
        self.wait_for_the_call(10)

    def test_armed_from_a_script_nothing_until_every_copy_has_ended(self):
        b = self.bench
        pads = [self.notepad(), self.notepad()]
        self.start_armed("/s", "/exit", "notepad.exe", "/w", "5")
        b.post(pads[0]["hwnd"], WM_CLOSE)
        self.assertFalse(poll(self.panels, 4), "a warning with notepad still running")
        b.post(pads[1]["hwnd"], WM_CLOSE)
        ended = time.monotonic()
        self.assertTrue(poll(self.panels, 3, 0.05), "no warning")
        self.assertLessEqual(time.monotonic() - ended, 1.5)
        self.assertFalse(poll(self.calls, 25))
        self.wait_for_the_call(10)

    def test_a_message_box_left_open_does_not_hide_the_programs_end(self):
        b = self.bench
        pad = self.notepad()
        self.start_armed("/s", "/exit", "notepad.exe")
        refused = b.start(wait=False, args=["/standby", "/t", "100"])  # Wine cannot stand by
        self.wait_gone(refused, 10)
        box = b.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no message")
        b.post(pad["hwnd"], WM_CLOSE)
        self.assertTrue(poll(self.panels, 3, 0.05), "no warning while the message box is open")
        b.close_message_box(box)


class OfferedOn95(WhenBench):
    """Each condition is offered only where the Windows the program sees can
    watch it: on 95 the program's end alone, on 98 the network's too."""
    version = "win95"
    offered = ["程序退出"]

    def test_the_conditions_offered(self):
        self.bench.start()
        self.assertEqual(self.bench.control("cmbCondition")["items"], self.offered)


class OfferedOn98(OfferedOn95):
    version = "win98"
    offered = ["程序退出", "下载完成"]


if __name__ == "__main__":
    unittest.main(verbosity=2)
