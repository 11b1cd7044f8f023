"""On a Windows whose language is not Chinese (ANSI code pages 1252 and 950):
every text reads in Simplified Chinese, read back with the wide functions,
and the chosen action and unit are the ones carried out. On Windows 98 the
program works there too, with its texts as the system's "?"."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import ABOUT_TITLE, BM_CLICK, LAYOUT, MAIN_TITLE, BenchTest, poll  # noqa: E402

POWER = ["user32.ExitWindowsEx", "user32.LockWorkStation", "powrprof.SetSuspendState"]
ROWS = LAYOUT["main"]["controls"]
LOCK = "锁定计算机"
CONDITIONS = ["程序退出", "下载完成", "无人使用"]
AUTHOR = "作者: Varrow.\r\n\r\n如果你喜欢这个程序，别忘了给我发送一个电子邮件或者常去我的网站哦."
BALLOON = re.compile(r"^(\d+) 秒后执行关机。单击这里打开窗口可以取消。$")
# What each action calls under Wine; Wine cannot suspend, locks nothing
# (not implemented) and says so, so those two end in a message instead.
ACTIONS = [("关机", ("ExitWindowsEx", 12)), ("重新启动", ("ExitWindowsEx", 6)), ("注销", ("ExitWindowsEx", 4)),
           ("挂起", None), ("睡眠", ("SetSuspendState", 1)), (LOCK, ("LockWorkStation", None))]


def menu_texts(log):
    """The texts of the menu items the program made, in order, as Wine's menu
    trace records them once stored (\\xxxx for what is not printable ASCII)."""
    with open(log, errors="replace") as f:
        found = re.findall(r'trace:menu:set_menu_item_info to: \{ ID=\S+ Text=L"([^"]*)"', f.read())
    return [re.sub(r"\\([0-9a-f]{4})", lambda m: chr(int(m.group(1), 16)), t) for t in found]


class Locale(BenchTest):
    locale, version = None, None

    def setUp(self):
        if self.locale is None:
            self.skipTest("a base class")
        self.bench_options = {"locale": self.locale, "version": self.version, "relay": POWER, "debug": ["+menu"]}
        super().setUp()
        self.proc = self.bench.start()
        poll(self.bench.tray_icons, 5)

    def arm(self, action, amount, unit, lead=None):
        b = self.bench
        b.choose("cmbAction", [a for a, _ in ACTIONS].index(action))
        b.choose("cmbUnit", ["时", "分", "秒"].index(unit))
        b.set_text("txtPeriod", str(amount))
        if lead is not None:
            b.set_text("txtBlink", str(lead))
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 5))

    def test_every_text_reads_in_chinese(self):
        b = self.bench
        self.assertTrue(b.find(MAIN_TITLE))
        controls = b.controls()
        for row in ROWS:
            c = controls[row["name"]]
            if row["kind"] == "DropDownList":
                # Added at start-up: locking, and the conditions this Windows can watch (7 and XP: all).
                expected = row["items"] + ([LOCK] if row["name"] == "cmbAction" else []) + (
                    CONDITIONS if row["name"] == "cmbCondition" else [])
                self.assertEqual(c["items"], expected, row["name"])
                self.assertEqual(c["text"], expected[0] if expected else "", row["name"])
            else:
                self.assertEqual(c["text"], row["text"], row["name"])
        self.assertEqual(b.tray_tooltip(), "没设置动作")
        self.assertEqual(menu_texts(b.logs[-1])[:3], ["退出(&X)", "推迟 10 分钟(&P)", "关于(&A)"])

        # 2 分 counts 120 s; the tooltip and the balloon say what will happen.
        self.arm("关机", 2, "分", lead=999)
        self.assertTrue(poll(lambda: b.text("lblStatus") in ("120 秒后执行", "119 秒后执行"), 3), b.text("lblStatus"))
        balloons = poll(lambda: [t for t in b.driver("tooltips") or [] if t["visible"] and t["balloon"]], 5)
        self.assertTrue(balloons, "no balloon")
        self.assertRegex(balloons[0]["text"], BALLOON)
        self.assertIn(int(BALLOON.match(balloons[0]["text"]).group(1)), (120, 119))
        tip = b.tray_tooltip()
        self.assertTrue(tip.startswith("程序将要在") and tip.endswith("执行关机"), tip)
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        self.assertTrue(poll(lambda: b.text("lblStatus") == "定时器禁止", 3))

        # A second copy says that the first runs.
        second = b.start(wait=False)
        box = b.message_box("By: Brindle", 15)
        self.assertIsNotNone(box, "no second-instance message")
        self.assertEqual(box["texts"], ["Dusklet已经运行中."])
        b.close_message_box(box)
        self.wait_gone(second, 10)

        # About, from the tray menu.
        b.choose_about()
        about = b.find(ABOUT_TITLE, 5)
        self.assertIsNotNone(about, "About did not open")
        texts = [p["text"] for p in b.driver("tree", about["hwnd"])[1:] if p["text"]]
        self.assertIn(AUTHOR, texts)
        self.assertIn("别忘了给我 E-Mail哦", texts)

    def fire(self, action):
        b = self.bench
        expected = dict(ACTIONS)[action]
        # Armed for a second (or refused when arming): the click returns once
        # the arming has, and the action may come a moment later.
        b.choose("cmbAction", [a for a, _ in ACTIONS].index(action))
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", "1")
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        if expected and expected[0] != "LockWorkStation":
            self.wait_gone(self.proc, 15)
        else:
            box = b.message_box("Dusklet", 10)
            self.assertIsNotNone(box, "no message")
            self.assertEqual(box["texts"][0].partition("\r\n")[0], "无法执行%s。" % action)
        calls = [(f.split(".")[-1], int(a.split(",")[0], 16) if a.strip() else None) for f, a in b.relay_calls()
                 if f.split(".")[-1] in ("ExitWindowsEx", "LockWorkStation", "SetSuspendState")]
        self.assertEqual(calls, [expected] if expected else [])


# One test per action, each on a fresh program: a power call ends the Wine session.
for _n, (_action, _) in enumerate(ACTIONS):
    setattr(Locale, "test_action_%d_makes_its_call" % _n, lambda self, a=_action: self.fire(a))


class English7(Locale):
    locale, version = "en_US.UTF-8", "win7"


class EnglishXP(Locale):
    locale, version = "en_US.UTF-8", "winxp"


class TraditionalChinese7(Locale):
    locale, version = "zh_TW.UTF-8", "win7"


class TraditionalChineseXP(Locale):
    locale, version = "zh_TW.UTF-8", "winxp"


class English98(BenchTest):
    """Windows 98 takes texts in its ANSI code page only: on 1252 they read
    as "?", and the program still arms and carries out the action."""
    bench_options = {"locale": "en_US.UTF-8", "version": "win98", "relay": POWER}

    def test_arms_and_carries_out_the_action(self):
        b = self.bench
        proc = b.start()
        self.assertEqual(b.text("cmdTimer"), "????(&E)")
        b.choose("cmbAction", 0)  # 关机
        b.choose("cmbUnit", 2)  # 秒
        b.set_text("txtPeriod", "3")
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        self.assertTrue(poll(lambda: re.match(r"^[0-3] \?{4}$", b.text("lblStatus")), 3), b.text("lblStatus"))
        self.wait_gone(proc, 15)
        calls = [(f.split(".")[-1], a.split(",")[0]) for f, a in b.relay_calls() if f.endswith("ExitWindowsEx")]
        self.assertEqual(calls, [("ExitWindowsEx", "0000000c")])

if __name__ == "__main__":
    unittest.main(verbosity=2)
