"""Arming, the countdown and firing on the real program, with the power and
tray calls traced by Wine. Power calls end only the Wine session."""
import datetime
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, MAIN_TITLE, MESSAGES, WM_TIMER, BenchTest, poll  # noqa: E402

TRACED = ["user32.ExitWindowsEx", "user32.LockWorkStation", "powrprof.SetSuspendState",
          "advapi32.AdjustTokenPrivileges", "kernelbase.AdjustTokenPrivileges"]
ACTIONS = {"关机": 0, "重新启动": 1, "注销": 2, "挂起": 3, "睡眠": 4, "锁定计算机": 5}
UNITS = {"时": 0, "分": 1, "秒": 2}
MB_TOPMOST = 0x40000
PLANNED = 0x80000000  # the reason ExitWindowsEx is given: other, planned


class Schedule(BenchTest):
    version = "winxp"
    traced = TRACED

    def setUp(self):
        self.bench_options = {"relay": self.traced, "version": self.version}
        super().setUp()
        self.proc = self.bench.start()

    def countdown(self, action, amount, unit, force=True):
        b = self.bench
        b.choose("cmbAction", ACTIONS[action])
        b.set_text("txtPeriod", str(amount))
        b.choose("cmbUnit", UNITS[unit])
        if not force:
            b.send(b.control("chkForce")["hwnd"], BM_CLICK)

    def arm(self):
        b = self.bench
        before = b.text("cmdTimer")
        b.click_control("cmdTimer")
        # Armed; a countdown of a second may have come due already, ending the
        # program or failing back to idle, before a look sees the armed caption.
        self.assertTrue(poll(lambda: self.proc.poll() is not None or b.text_if_shown("cmdTimer") != before, 5))

    def power_calls(self):
        return [(f.split(".")[-1], [int(a, 16) for a in args.split(",") if a.strip()][:3])
                for f, args in self.bench.relay_calls()
                if f.split(".")[-1] in ("ExitWindowsEx", "LockWorkStation", "SetSuspendState",
                                        "AdjustTokenPrivileges")]

    def fires(self, timeout=15):
        self.wait_gone(self.proc, timeout)
        return [name if name != "ExitWindowsEx" else (name, args[0], args[1])
                for name, args in self.power_calls()]


class ForcedLogOffOnXP(Schedule):
    def test_counts_down_and_fires_with_the_privilege(self):
        b = self.bench
        self.countdown("注销", 3, "秒")
        self.arm()
        c = b.controls()
        self.assertFalse(c["frame"]["enabled"])
        tip = b.tray_tooltip()
        self.assertTrue(tip.startswith("程序将要在") and tip.endswith("执行注销"), tip)
        seen = set()
        poll(lambda: seen.add(b.text("lblStatus")) or "1 秒后执行" in seen, 6)
        self.assertTrue({"2 秒后执行", "1 秒后执行"} & seen, seen)
        self.assertEqual(self.fires(), ["AdjustTokenPrivileges", ("ExitWindowsEx", 4, PLANNED), "AdjustTokenPrivileges"])


class DisarmBeforeDue(Schedule):
    def test_disarming_restores_the_idle_state_and_nothing_fires(self):
        b = self.bench
        self.countdown("关机", 3, "秒")
        self.arm()
        b.click_control("cmdTimer")
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 5))
        self.assertEqual(b.text("lblStatus"), "定时器禁止")
        self.assertTrue(b.control("frame")["enabled"])
        self.assertEqual(b.tray_tooltip(), "没设置动作")
        # Past the due second the program is still there and called nothing.
        self.assertFalse(poll(lambda: self.proc.poll() is not None, 4))
        # A timer message that the stopped timer did not send (any program can
        # post one) is no tick, though the old due time has passed.
        b.post(b.main, WM_TIMER, MESSAGES["timer_id"])
        self.assertFalse(poll(lambda: self.proc.poll() is not None, 2))
        self.assertEqual(self.power_calls(), [])


class PowerOffOn98(Schedule):
    version = "win98"

    def test_no_privilege_and_no_force(self):
        self.countdown("关机", 1, "秒", force=False)
        self.arm()
        self.assertEqual(self.fires(), [("ExitWindowsEx", 8, PLANNED)])


class HibernateOnXP(Schedule):
    def test_hibernate_reaches_set_suspend_state(self):
        self.countdown("睡眠", 1, "秒")
        self.arm()
        calls = self.power_calls_after_exit()
        self.assertIn(("SetSuspendState", 1), [(n, a[0]) for n, a in calls])

    def power_calls_after_exit(self):
        self.wait_gone(self.proc)
        return self.power_calls()


class Refusal(Schedule):
    """An action that cannot be done: the program says so and stays, disarmed."""
    traced = TRACED + ["user32.MessageBoxA", "user32.MessageBoxW"]

    def refused(self, action, reason):
        b = self.bench
        self.countdown(action, 1, "秒")
        self.arm()
        box = b.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no message")
        self.assertEqual(box["owner"], b.main)
        self.assertEqual(len(box["buttons"]), 1)
        self.assertTrue(box["icon"])
        self.assertEqual(len(box["texts"]), 1, box["texts"])
        first, _, why = box["texts"][0].partition("\r\n")
        self.assertEqual(first, "无法执行%s。" % action)
        if reason:
            self.assertEqual(why, reason)
        else:
            self.assertTrue(why, "no reason given")
        # Disarmed as by the button, shown, and still running.
        self.assertTrue(b.find(MAIN_TITLE))
        self.assertEqual(b.text("cmdTimer"), "激活定时器(&E)")
        self.assertEqual(b.text("lblStatus"), "定时器禁止")
        self.assertTrue(b.control("frame")["enabled"])
        # Above every other window: the tick fires while another program is
        # in front, and the window has no taskbar button to find it by.
        flags = [int(args.split(",")[3], 16) for f, args in b.relay_calls() if f.endswith(("MessageBoxA", "MessageBoxW"))]
        self.assertEqual(len(flags), 1, flags)
        self.assertTrue(flags[0] & MB_TOPMOST, "the message may open behind other windows")
        b.close_message_box(box)
        self.assertTrue(poll(lambda: not b.find("Dusklet"), 5))
        self.assertIsNone(self.proc.poll())
        self.assertEqual(len(b.tray_icons()), 1)
        self.assertEqual(b.tray_tooltip(), "没设置动作")


class RefusedWhenArming(Schedule):
    """A refusal known when arming is said then, and nothing is armed."""
    traced = TRACED + ["user32.MessageBoxA", "user32.MessageBoxW"]

    def refused_when_arming(self, action, reason):
        b = self.bench
        b.click_control("opt(1)")  # a setting that the refusal leaves as it is
        self.countdown(action, 3, "时")
        b.click_control("cmdTimer")
        box = b.message_box("Dusklet", 10)
        self.assertIsNotNone(box, "no message")
        self.assertEqual(box["owner"], b.main)
        self.assertEqual(box["texts"], ["无法执行%s。\r\n%s" % (action, reason)])
        self.assertEqual(b.text("cmdTimer"), "开始定时(&E)")
        self.assertEqual(b.text("lblStatus"), "定时禁止")
        self.assertTrue(b.control("frame")["enabled"])
        self.assertTrue(b.control("txtHour")["enabled"])
        b.close_message_box(box)
        self.assertTrue(poll(lambda: not b.find("Dusklet"), 5))
        self.assertEqual(b.tray_tooltip(), "没设置动作")
        self.assertIsNone(self.proc.poll())
        self.assertEqual(self.power_calls(), [])


class SuspendOnNT4(RefusedWhenArming):
    version = "nt40"

    def test_refused_by_the_version_when_arming(self):
        self.refused_when_arming("挂起", "这个版本的 Windows 不支持此操作。")


class SuspendOnAMachineThatCannot(RefusedWhenArming):
    """Wine answers that the machine cannot suspend."""
    version = "winxp"

    def test_refused_by_the_machine_when_arming(self):
        self.refused_when_arming("挂起", "这台计算机不支持此操作。")


class LockOnWin7(Refusal):
    """Wine's LockWorkStation fails (error 120): the failure is reported."""
    version = "win7"

    def test_a_failed_lock_is_reported_with_the_systems_reason(self):
        self.refused("锁定计算机", None)
        self.assertEqual([n for n, _ in self.power_calls()], ["LockWorkStation"])


class LockOn2000(LockOnWin7):
    version = "win2k"


class HibernateOnWin10(Schedule):
    version = "win10"

    def test_hibernate_reaches_set_suspend_state_inside_the_privilege_bracket(self):
        self.countdown("睡眠", 1, "秒")
        self.arm()
        self.wait_gone(self.proc)
        calls = self.power_calls()
        self.assertEqual([n for n, _ in calls], ["AdjustTokenPrivileges", "SetSuspendState", "AdjustTokenPrivileges"])
        self.assertEqual(calls[1][1][0], 1)


class DpiAwareBeforeAnyWindow(Schedule):
    version = "win10"
    traced = ["user32.SetProcessDPIAware", "user32.CreateWindowExA", "user32.CreateWindowExW"]

    def test_the_process_declares_itself_dpi_aware_first(self):
        names = [f.split(".")[-1] for f, _ in self.bench.relay_calls()]
        windows = [i for i, name in enumerate(names) if name in ("CreateWindowExA", "CreateWindowExW")]
        self.assertIn("SetProcessDPIAware", names)
        self.assertTrue(windows)
        self.assertLess(names.index("SetProcessDPIAware"), windows[0])



class ClockMode(Schedule):
    def test_fires_at_the_chosen_minute(self):
        b = self.bench
        # The next whole minute at least 20 s away: arming and reading the
        # tooltip are over before it comes.
        due = (datetime.datetime.now() + datetime.timedelta(seconds=80)).replace(second=0, microsecond=0)
        b.choose("cmbAction", ACTIONS["注销"])
        b.click_control("opt(1)")
        poll(lambda: b.control("txtHour")["enabled"], 5)
        b.set_text("txtHour", str(due.hour % 12 or 12))
        b.set_text("txtMin", "%02d" % due.minute)
        b.choose("cmbT", 1 if due.hour >= 12 else 0)
        self.arm()
        tip = b.tray_tooltip()
        self.assertIn(":%02d:00" % due.minute, tip)
        self.wait_gone(self.proc, 95)
        fired_at = datetime.datetime.now()
        self.assertGreaterEqual(fired_at, due)
        self.assertLess((fired_at - due).total_seconds(), 3)
        self.assertIn(("ExitWindowsEx", [4, PLANNED]), [(n, a[:2]) for n, a in self.power_calls()])


if __name__ == "__main__":
    unittest.main(verbosity=2)
