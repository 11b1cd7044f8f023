"""The command line on the real program: arming from it, handing it over to
the copy that runs, and the exit codes a script reads. A second copy runs
under the driver, which reads its whole exit code (wine's own status keeps
only its low 8 bits)."""
import datetime
import json
import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, LOADER, MAIN_TITLE, BenchTest, poll  # noqa: E402

DONE, BAD_ARGUMENTS, NOT_FOUND = 0, 87, 1168
DUE = re.compile(r"(\d+):(\d\d):\d\d执行(\S+)$")


class CommandLine(BenchTest):
    version = "win10"

    def setUp(self):
        self.bench_options = {"relay": ["user32.ExitWindowsEx"], "version": self.version}
        super().setUp()

    def main_window(self, pid=None):
        """Dusklet's main window, shown or not."""
        found = [w for w in self.bench.driver("windows") if w["class"] == "DuskletMain" and (pid is None or w["pid"] == pid)]
        return found[0] if found else None

    def run_copy(self, *args):
        """Another start with `args`, under the driver; communicate() gives
        what it printed once the copy has ended."""
        return subprocess.Popen([LOADER, "C:\\Dusklet\\driver.exe", "run", "C:\\Dusklet\\Dusklet.exe", *args],
                                env=self.bench.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    @staticmethod
    def exit_code(run, timeout=20):
        out, _ = run.communicate(timeout=timeout)
        return json.loads(out.decode().strip().splitlines()[-1])["exit"]

    def copy(self, *args):
        """Another start with `args`: its exit code."""
        return self.exit_code(self.run_copy(*args))

    def due(self):
        """The tooltip's due time (hour, minute) and action."""
        m = DUE.search(self.bench.tray_tooltip() or "")
        self.assertTrue(m, "no armed tooltip")
        return (int(m.group(1)), int(m.group(2))), m.group(3)

    def arm_running_copy_for_ten_minutes(self):
        b = self.bench
        self.first = b.start()
        poll(b.tray_icons, 5)
        b.choose("cmbUnit", 1)  # 分
        b.set_text("txtPeriod", "10")
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3))

    def test_a_fresh_start_arms_from_its_command_line_and_stays_in_the_tray(self):
        b = self.bench
        proc = b.start(wait=False, args=["/l", "/t", "5"])
        armed = time.time()
        self.assertTrue(poll(b.tray_icons, 10), "no tray icon")
        self.assertTrue(self.main_window())
        self.assertIsNone(b.find(MAIN_TITLE), "the window showed")
        self.assertEqual(self.due()[1], "注销")
        self.wait_gone(proc, 15)
        self.assertAlmostEqual(time.time() - armed, 5, delta=2.5)
        self.assertEqual(proc.returncode, DONE)
        self.assertIn(("ExitWindowsEx", "00000004,80000000"),
                      [(f.split(".")[-1], a) for f, a in b.relay_calls(0)])  # 注销, forced; planned

    def test_a_running_copy_is_cancelled_rearmed_and_postponed_by_a_second_start(self):
        b = self.bench
        self.arm_running_copy_for_ten_minutes()
        self.assertEqual(self.copy("/a"), DONE)
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3))
        self.assertEqual(self.copy("/s", "/t", "2h"), DONE)
        (hour, minute), action = self.due()
        later = datetime.datetime.now() + datetime.timedelta(hours=2)
        self.assertEqual(action, "关机")
        self.assertIn((hour, minute), {(t.hour, t.minute) for t in (later, later - datetime.timedelta(minutes=1))})
        self.assertEqual(self.copy("-P", "5"), DONE)
        time.sleep(1)  # a quick second hover may find no tooltip
        (hour2, minute2), _ = self.due()
        self.assertEqual((hour2 * 60 + minute2 - hour * 60 - minute) % (24 * 60), 5)
        self.assertIsNone(self.first.poll())
        self.assertEqual([f for f, _ in b.relay_calls(0) if f.endswith("ExitWindowsEx")], [])

    def test_bad_arguments_are_said_and_change_nothing(self):
        b = self.bench
        self.arm_running_copy_for_ten_minutes()
        run = self.run_copy("/t", "5")
        box = b.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no message")
        self.assertTrue(box["texts"][0].startswith("参数有误：“/t”"), box["texts"])
        self.assertIn("用法：", box["texts"][0])
        b.close_message_box(box)
        self.assertEqual(self.exit_code(run), BAD_ARGUMENTS)
        self.assertEqual(b.text("cmdTimer"), "禁止定时器(&D)")
        self.assertEqual(self.due()[1], "关机")

    def test_cancel_with_no_copy_running_says_so_in_its_exit_code(self):
        self.assertEqual(self.copy("/a"), NOT_FOUND)
        self.assertIsNone(self.main_window())


class CommandLineOnXP(CommandLine):
    version = "winxp"


class CommandLineOn98(BenchTest):
    """The ANSI path: the command line read in the system's code page."""
    bench_options = {"version": "win98"}

    def test_a_clock_time_arms_the_clock_mode(self):
        b = self.bench
        proc = b.start(wait=False, args=["/r", "/at", "23:59"])
        self.assertTrue(poll(b.tray_icons, 10), "no tray icon")
        main = poll(lambda: [w for w in b.driver("windows") if w["class"] == "DuskletMain"], 5)
        b.main = main[0]["hwnd"]
        c = b.controls()
        self.assertEqual((c["opt(1)"]["check"], c["txtHour"]["text"], c["txtMin"]["text"], c["cmbT"]["text"]),
                         (1, "11", "59", "PM"))
        self.assertEqual(c["cmbAction"]["text"], "重新启动")
        self.assertEqual(c["cmdTimer"]["text"], "禁止定时器(&D)")
        self.assertIsNone(proc.poll())


if __name__ == "__main__":
    unittest.main(verbosity=2)
