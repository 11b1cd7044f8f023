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
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, LAYOUT, LOADER, MAIN_TITLE, BenchTest, poll  # noqa: E402

DONE, BAD_ARGUMENTS, REFUSED, NOT_FOUND = 0, 87, 1223, 1168
PANEL = {c["name"]: c["id"] for c in LAYOUT["warning"]["controls"]}
DUE = re.compile(r"(\d+):(\d\d):\d\d执行(\S+)$")


class Copies(BenchTest):
    """A bench whose tests start more copies: their exit codes, the copy that
    runs and its tooltip."""
    version = "win10"

    def setUp(self):
        self.bench_options = {"relay": ["user32.ExitWindowsEx"], "version": self.version}
        super().setUp()

    def main_window(self, pid=None):
        """Dusklet's main window, shown or not."""
        found = [w for w in self.bench.driver("windows") if w["class"] == "DuskletMain" and (pid is None or w["pid"] == pid)]
        return found[0] if found else None

    def run_copy(self, *args):
        """Another start with `args`, under the driver; exit_code() gives its
        exit code once it has ended. What the driver prints goes through a
        file: a copy that the start leaves running holds its output open."""
        out = tempfile.TemporaryFile()
        run = subprocess.Popen([LOADER, "C:\\Dusklet\\driver.exe", "run", "C:\\Dusklet\\Dusklet.exe", *args],
                               env=self.bench.env, stdout=out, stderr=subprocess.DEVNULL)
        run.out = out
        return run

    @staticmethod
    def exit_code(run, timeout=20):
        run.wait(timeout)
        run.out.seek(0)
        return json.loads(run.out.read().decode().strip().splitlines()[-1])["exit"]

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


class CommandLine(Copies):
    def test_a_fresh_start_answers_the_script_at_once_and_the_copy_it_starts_acts(self):
        b = self.bench
        started = time.monotonic()
        proc = b.start(wait=False, args=["/l", "/t", "6"])
        self.wait_gone(proc, 10)
        self.assertLess(time.monotonic() - started, 3, "the script waited")
        self.assertEqual(proc.returncode, DONE)
        staying = self.main_window()
        self.assertTrue(staying, "no copy stays")
        self.assertTrue(poll(b.tray_icons, 5), "no tray icon")
        self.assertIsNone(b.find(MAIN_TITLE), "the window showed")
        self.assertEqual(self.due()[1], "注销")
        # The copy that stays writes to the same log: the action, forced and planned, on time.
        calls = lambda: [(f.split(".")[-1], a) for f, a in b.relay_calls(0)]  # noqa: E731
        self.assertTrue(poll(lambda: ("ExitWindowsEx", "00000004,80000000") in calls(), 15), calls())
        self.assertAlmostEqual(time.monotonic() - started, 6, delta=3)

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


class CommandLineKeepsItsWord(Copies):
    """What a script is told is the truth, whatever else runs; on Windows 10
    only (the class's tests above run on both versions)."""

    def test_a_refused_command_leaves_the_armed_schedule_as_it_was(self):
        b = self.bench
        self.assertEqual(self.copy("/s", "/t", "2h"), DONE)
        b.main = poll(self.main_window, 5)["hwnd"]
        tip = b.tray_tooltip()
        run = self.run_copy("/standby", "/t", "100")  # this Wine cannot suspend
        self.assertEqual(self.exit_code(run), REFUSED)
        box = b.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no message")
        self.assertTrue(box["texts"][0].startswith("无法执行挂起。"), box["texts"])
        b.close_message_box(box)
        self.assertEqual((b.text("cmdTimer"), b.text("cmbAction"), b.text("txtPeriod"), b.text("cmbUnit")),
                         ("禁止定时器(&D)", "关机", "2", "时"))
        time.sleep(1)  # a quick second hover may find no tooltip
        self.assertEqual(b.tray_tooltip(), tip)

    def test_a_refused_first_start_answers_1223_and_leaves_no_copy(self):
        b = self.bench
        self.assertEqual(self.copy("/standby", "/t", "100"), REFUSED)
        box = b.message_box("Dusklet", 10)  # said by the copy it started, after the answer
        self.assertIsNotNone(box, "no message")
        b.close_message_box(box)
        self.assertTrue(poll(lambda: not self.main_window(), 5), "a copy stayed")
        self.assertEqual(self.copy("/a"), NOT_FOUND)

    def test_a_copy_a_refusal_ends_stays_for_an_arming_handed_over_meanwhile(self):
        """The script's next line, or a copy started at the same moment, may
        hand its arming to the copy a refusal is about to end: it stays, armed,
        and is the one later copies find."""
        b = self.bench
        self.assertEqual(self.copy("/standby", "/t", "100"), REFUSED)
        box = b.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no message")
        leaving = self.main_window()
        self.assertEqual(self.copy("/s", "/t", "600"), DONE)
        b.close_message_box(box)
        self.assertEqual(self.copy("/show"), DONE)
        self.assertEqual([w["pid"] for w in b.driver("windows") if w["class"] == "DuskletMain"], [leaving["pid"]])
        b.main = leaving["hwnd"]
        self.assertEqual(b.text("cmdTimer"), "禁止定时器(&D)")

    def test_a_window_that_is_not_dusklets_is_never_taken_for_the_running_copy(self):
        b = self.bench
        squatter, made = b.background("squat", 30000)
        self.assertEqual(self.copy("/s", "/t", "60"), DONE)
        staying = poll(self.main_window, 5)
        self.assertTrue(staying, "no copy runs")
        b.main = staying["hwnd"]
        self.assertEqual(b.text("cmdTimer"), "禁止定时器(&D)")
        self.assertEqual(self.copy("/a"), DONE)  # and it is the one later copies find
        self.assertEqual(b.text("cmdTimer"), "激活定时器(&E)")
        squatter.kill()

    def test_show_brings_the_failure_message_forward(self):
        b = self.bench
        b.start()
        b.choose("cmbAction", 5)  # 锁定计算机, which Wine refuses when it comes
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", "2")
        b.send(b.control("chkBlink")["hwnd"], BM_CLICK)
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        box = b.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no failure message")
        b.raw("activate", b.main)  # the window in front of its own message
        self.assertEqual(self.copy("/show"), DONE)
        centre = (box["sx"] + box["w"] // 2, box["sy"] + box["h"] // 2)
        self.assertTrue(poll(lambda: (b.driver("foreground") or [{}])[0].get("hwnd") == box["hwnd"], 3),
                        b.driver("foreground"))
        self.assertEqual(b.driver("at", *centre)[0]["hwnd"], box["hwnd"])
        b.close_message_box(box)

    def test_postpone_in_clock_mode_puts_the_new_time_in_the_boxes(self):
        b = self.bench
        due = datetime.datetime.now() + datetime.timedelta(minutes=2)
        self.assertEqual(self.copy("/s", "/at", due.strftime("%H:%M"), "/w", "999"), DONE)
        b.main = poll(self.main_window, 5)["hwnd"]
        panel = poll(lambda: [w for w in b.driver("windows") if w["class"] == "DuskletWarning" and w["visible"]], 5)
        self.assertTrue(panel, "no panel")
        button = [w for w in b.driver("tree", panel[0]["hwnd"])[1:] if w["id"] == PANEL["cmdPostpone"]][0]
        b.xdo("mousemove", button["sx"] + button["w"] // 2, button["sy"] + button["h"] // 2, "click", 1)
        later = due + datetime.timedelta(minutes=10)
        self.assertTrue(poll(lambda: (b.text("txtHour"), b.text("txtMin"), b.text("cmbT")) ==
                             (str((later.hour + 11) % 12 + 1), "%02d" % later.minute,
                              "AM" if later.hour < 12 else "PM"), 3),
                        (b.text("txtHour"), b.text("txtMin"), b.text("cmbT")))


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
        self.wait_gone(proc, 5)  # the start answered; the copy it started stays
        self.assertEqual(proc.returncode, 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
