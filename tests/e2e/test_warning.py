"""The warning before the action: a balloon from the tray icon when the
blinking begins, and a click on it as the last chance to cancel; the panel
on top of every window that postpones or cancels with one click and never
takes the focus from the program the user types in."""
import datetime
import json
import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, IDS, LAYOUT, LOADER, MAIN_TITLE, MESSAGES, BenchTest, artefact, poll  # noqa: E402

BALLOON = re.compile(r"^(\d+) 秒后执行关机。单击这里打开窗口可以取消。$")
SECONDS, LEAD, WATCH = 14, 10, 4


class Balloon(BenchTest):
    bench_options = {"relay": ["user32.ExitWindowsEx"], "version": "winxp"}

    def setUp(self):
        super().setUp()
        self.proc = self.bench.start()
        poll(self.bench.tray_icons, 5)

    def balloons(self):
        """Wine draws a balloon as a visible tooltip holding its text."""
        return [t for t in self.bench.driver("tooltips") or [] if t["visible"] and t["balloon"]]

    def arm_power_off(self, seconds, lead):
        b = self.bench
        b.choose("cmbAction", 0)
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", str(seconds))
        b.set_text("txtBlink", str(lead))
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        b.xdo("key", "Escape")  # left hidden in the tray, as a user leaves it
        poll(lambda: not b.find(MAIN_TITLE), 3)

    def test_a_balloon_when_the_blinking_begins_and_a_click_on_it_cancels(self):
        b = self.bench
        self.arm_power_off(SECONDS, LEAD)
        shown = poll(self.balloons, SECONDS)
        self.assertTrue(shown, "no balloon")
        self.assertEqual(len(shown), 1)
        self.assertRegex(shown[0]["text"], BALLOON)
        left = int(BALLOON.match(shown[0]["text"]).group(1))
        self.assertIn(left, (LEAD, LEAD - 1))  # the seconds left at the tick that began the blinking
        # Once for the arming: the blinking goes on and no balloon with fewer seconds follows.
        # (A look may miss the balloon for a moment: only a balloon with
        # another text counts.)
        self.assertFalse(poll(lambda: any(t["text"] != shown[0]["text"] for t in self.balloons()), WATCH),
                         self.balloons())
        b.screenshot(artefact("balloon.png"), "260x110+0+0")
        # The shell's notification for a click on the balloon (Wine's tray sends none).
        b.post(b.main, MESSAGES["tray_callback"], 0, MESSAGES["balloon_click"])
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE), 3), "the window did not come back")
        button = b.control("cmdTimer")["hwnd"]
        self.assertTrue(poll(lambda: b.driver("focus", b.main)[0]["focus"] == button, 3), "the button has no focus")
        b.xdo("key", "Return")
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3), "Enter did not disarm")
        self.assertFalse(poll(lambda: self.proc.poll() is not None, LEAD), "the program ended")
        self.assertEqual([f for f, _ in b.relay_calls() if f.endswith("ExitWindowsEx")], [])

    def test_no_balloon_without_blinking(self):
        b = self.bench
        b.send(b.control("chkBlink")["hwnd"], BM_CLICK)
        self.arm_power_off(3, 5)
        self.assertFalse(poll(self.balloons, 2.5))
        self.wait_gone(self.proc, 10)  # and the action runs as before


WS_EX_TOPMOST, WS_EX_NOACTIVATE = 0x8, 0x08000000
PANEL = {c["name"]: c["id"] for c in LAYOUT["warning"]["controls"]}


class Panel(BenchTest):
    """A 6-second countdown with a 4-second lead while the user types in
    Wine's notepad."""
    version = "win10"

    def setUp(self):
        self.bench_options = {"relay": ["user32.ExitWindowsEx"], "version": self.version}
        super().setUp()
        b = self.bench
        self.proc = b.start()
        poll(b.tray_icons, 5)
        notepad = subprocess.Popen([LOADER, "notepad"], env=b.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        b.procs.append(notepad)
        pads = poll(lambda: [w for w in b.driver("windows") if w["class"] == "Notepad" and w["visible"]], 15)
        self.assertTrue(pads, "notepad did not start")
        self.notepad = pads[0]["hwnd"]
        # Armed first, then notepad in front: a button clicked from another
        # process moves Wine's foreground.
        b.choose("cmbAction", 0)
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", "6")
        b.set_text("txtBlink", "4")
        self.armed = (time.time(), None)
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        self.armed = (self.armed[0], time.time())
        b.raw("activate", self.notepad)
        self.panel = poll(self.panels, 6)
        self.assertTrue(self.panel, "no panel")
        self.panel = self.panel[0]

    def panels(self):
        return [w for w in self.bench.driver("windows") if w["class"] == "DuskletWarning" and w["visible"]]

    def foreground(self):
        return (self.bench.driver("foreground") or [{}])[0].get("hwnd")

    def calls(self):
        return [f for f, _ in self.bench.relay_calls() if f.endswith("ExitWindowsEx")]

    def click(self, name):
        part = [w for w in self.bench.driver("tree", self.panel["hwnd"])[1:] if w["id"] == PANEL[name]][0]
        self.bench.xdo("mousemove", part["sx"] + part["w"] // 2, part["sy"] + part["h"] // 2, "click", 1)

    def test_the_panel_shows_on_top_leaves_the_keyboard_to_the_user_and_postpones_with_one_click(self):
        b = self.bench
        self.assertEqual(self.panel["exstyle"] & (WS_EX_TOPMOST | WS_EX_NOACTIVATE), WS_EX_TOPMOST | WS_EX_NOACTIVATE)
        parts = {w["id"]: w for w in b.driver("tree", self.panel["hwnd"])[1:]}
        self.assertRegex(parts[PANEL["lblCountdown"]]["text"], r"^[1-4] 秒后执行关机$")
        self.assertEqual(parts[PANEL["lblTitle"]]["text"], "Dusklet")
        self.assertEqual(self.foreground(), self.notepad)
        # Typed meanwhile, the keys land in notepad (its X window given the focus, as the bench types).
        pads = subprocess.run(["xdotool", "search", "--classname", "notepad.exe"], env=b.env, capture_output=True,
                              text=True).stdout.split()
        for window in pads:
            subprocess.run(["xdotool", "windowfocus", "--sync", window], env=b.env, capture_output=True, timeout=5)
        b.xdo("type", "dusk")
        edit = lambda: [w["text"] for w in b.driver("tree", self.notepad)[1:] if w["class"].lower() == "edit"]  # noqa: E731
        self.assertTrue(poll(lambda: edit() == ["dusk"], 3), edit())
        self.assertEqual(self.foreground(), self.notepad)
        if self.version == "win10":
            b.screenshot(artefact("panel.png"), "%dx%d+%d+%d" % (self.panel["w"] + 24, self.panel["h"] + 24,
                                                                self.panel["sx"] - 12, self.panel["sy"] - 12))
        self.click("cmdPostpone")
        self.assertTrue(poll(lambda: not self.panels(), 3), "the panel stayed")
        # Past the old due moment, nothing has happened.
        self.assertFalse(poll(lambda: self.proc.poll() is not None, self.armed[1] + 7.5 - time.time()))
        self.assertEqual(self.calls(), [])
        for window in pads:  # out of the way of the tray, for the tooltip
            subprocess.run(["xdotool", "windowmove", window, "300", "300"], env=b.env, capture_output=True, timeout=5)
        due = re.search(r"(\d+):(\d\d):(\d\d)执行关机$", b.tray_tooltip())
        self.assertTrue(due)
        shown = tuple(int(x) for x in due.groups())
        later = {(t.hour, t.minute, t.second) for t in (datetime.datetime.fromtimestamp(int(a) + 606)
                                                         for a in self.armed)}
        self.assertIn(shown, later)

    def test_cancel_disarms_with_one_click(self):
        b = self.bench
        self.click("cmdCancel")
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "激活定时器(&E)", 3), "not disarmed")
        self.assertFalse(self.panels())
        self.assertFalse(poll(lambda: self.proc.poll() is not None, self.armed[1] + 7.5 - time.time()))
        self.assertEqual(self.calls(), [])
        self.assertFalse([t for t in b.driver("tooltips") or [] if t["visible"] and t["balloon"]])


class PanelOnXP(Panel):
    version = "winxp"


EVENT_SYSTEM_ALERT = 2


class PanelHeardAndOnTop(BenchTest):
    """A 25-second countdown warned for its last 15 seconds, left in the tray,
    while an accessibility hook listens and a full-screen topmost window (a
    game, a film) opens over the panel."""
    bench_options = {"relay": ["user32.ExitWindowsEx"], "version": "win10"}

    def test_the_panel_is_announced_named_and_back_on_top_of_a_full_screen_window(self):
        b = self.bench
        b.start()
        poll(b.tray_icons, 5)
        hook, _ = b.background("winevents", 30000)
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", "25")
        b.set_text("txtBlink", "15")
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        b.xdo("key", "Escape")
        panel = poll(lambda: [w for w in b.driver("windows") if w["class"] == "DuskletWarning" and w["visible"]], 15)
        self.assertTrue(panel, "no panel")
        panel = panel[0]
        centre = (panel["sx"] + panel["w"] // 2, panel["sy"] + panel["h"] // 2)
        # A screen reader hears it: an alert for it, and a name that says what comes.
        name = b.driver("accname", panel["hwnd"])[0]["name"]
        self.assertRegex(name, r"^Dusklet 提醒：\d+ 秒后执行关机$")
        cover, made = b.background("cover", 6000)
        self.assertTrue(poll(lambda: (b.driver("at", *centre) or [{}])[0].get("hwnd") == panel["hwnd"], 2),
                        "the panel stayed under the full-screen window")
        self.assertEqual((b.driver("foreground") or [{}])[0].get("hwnd"), made["hwnd"])  # the foreground stays there
        cover.wait(10)
        parts = lambda: {w["id"]: w for w in b.driver("tree", panel["hwnd"])[1:]}  # noqa: E731
        left = lambda: int(parts()[PANEL["lblCountdown"]]["text"].split()[0])  # noqa: E731
        self.assertTrue(poll(lambda: left() < 10, 10), "no last call")
        part = parts()[PANEL["cmdCancel"]]
        b.xdo("mousemove", part["sx"] + part["w"] // 2, part["sy"] + part["h"] // 2, "click", 1)
        self.assertTrue(poll(lambda: not [w for w in b.driver("windows") if w["class"] == "DuskletWarning"], 3))
        hook.kill()
        events = [json.loads(line) for line in hook.stdout.read().splitlines() if line.startswith(b"{")]
        alerts = [e for e in events if e.get("event") == EVENT_SYSTEM_ALERT and e["hwnd"] == panel["hwnd"]]
        self.assertEqual(len(alerts), 2, events)  # as it appeared, and at its last call
        self.assertEqual([f for f, _ in b.relay_calls() if f.endswith("ExitWindowsEx")], [])

    def test_every_input_of_the_window_is_named_by_the_label_before_it(self):
        b = self.bench
        b.start()
        tree = b.driver("tree", b.main)[1:]
        names = {"txtPeriod": "倒计时长度", "vsPeriod": "增减倒计时长度", "cmbUnit": "倒计时单位",
                 "txtHour": "执行时刻：时", "txtMin": "执行时刻：分", "cmbT": "上午或下午",
                 "txtBlink": "提前提醒的秒数", "vsBlink": "增减提前提醒的秒数", "cmbAction": "动作"}
        for control, name in names.items():
            at = [i for i, w in enumerate(tree) if w["id"] == IDS[control]][0]
            label = tree[at - 1]  # made just before it, in the same container
            self.assertEqual((label["class"].lower(), label["text"], label["parent"]),
                             ("static", name, tree[at]["parent"]), control)
            self.assertEqual(b.driver("accname", label["hwnd"])[0]["name"], name)


class PanelOn98(Panel):
    version = "win98"


if __name__ == "__main__":
    unittest.main(verbosity=2)
