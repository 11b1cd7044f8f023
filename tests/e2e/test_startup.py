"""Start-up under Wine: the window as laid out, the tray icon, one instance, the
lock entry by Windows version, and the skin engine call."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import ARCH, BenchTest, IDS, artefact, poll  # noqa: E402

# name: (parent, left, top, width, height, text, enabled, tab) in twips, as laid out.
LAYOUT = {
    "frame": (None, 180, 180, 3435, 3315, " 设置", True),
    "pic": ("frame", 150, 930, 3075, 825, "", True),
    "cmbAction": ("frame", 900, 420, 2295, None, "关机", True),
    "lbl(0)": ("frame", 180, 480, None, None, "动作", True),
    "opt(0)": ("pic", 30, 60, 675, 195, "之内", True),
    "opt(1)": ("pic", 30, 540, 675, 195, "于", True),
    "txtPeriod": ("pic", 750, 0, 495, 315, "1", True),
    "vsPeriod": ("pic", 1230, 0, 165, 315, "", True),
    "cmbUnit": ("pic", 1530, 0, 1515, None, "时", True),
    "txtHour": ("pic", 750, 480, 495, 315, "1", False),
    "vsHour": ("pic", 1230, 480, 165, 315, "", False),
    "txtMin": ("pic", 1530, 480, 495, 315, "00", False),
    "vsMin": ("pic", 2010, 480, 165, 315, "", False),
    "cmbT": ("pic", 2310, 480, 735, None, "AM", False),
    "chkForce": ("frame", 210, 1920, 3075, 255, "强制终止进程", True),
    "chkBlink": ("frame", 210, 2340, 2475, 255, "图标闪动之前执行", True),
    "txtBlink": ("frame", 900, 2760, 495, 315, "30", True),
    "vsBlink": ("frame", 1380, 2760, 165, 315, "", True),
    "lbl(1)": ("frame", 1680, 2820, None, None, "秒", True),
    "cmdTimer": (None, 180, 3660, 3435, 315, "开始定时(&E)", True),
    "lblStatus": (None, 0, 4140, 3795, 195, "定时禁止", True),
}
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_THICKFRAME, WS_SYSMENU = 0x20000, 0x10000, 0x40000, 0x80000
WS_EX_TOOLWINDOW, WS_EX_APPWINDOW = 0x80, 0x40000


def px(twips, dpi=96):
    return (twips * dpi + 720) // 1440


class Window(BenchTest):
    def test_window_as_laid_out(self):
        b = self.bench
        b.start()
        main = b.find("Dusklet  V1.0")
        self.assertEqual((main["cw"], main["ch"]), (252, 289))
        self.assertFalse(main["style"] & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))
        self.assertTrue(main["style"] & WS_SYSMENU)
        # No taskbar button: owned by a hidden window, not a tool window.
        self.assertNotEqual(main["owner"], 0)
        self.assertFalse(main["exstyle"] & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW))
        screen = b.driver("screen")[0]
        self.assertLessEqual(abs(main["sx"] + main["w"] // 2 - screen["w"] // 2), 1)
        self.assertLessEqual(abs(main["sy"] + main["h"] // 2 - screen["h"] // 2), 1)

        controls = b.controls()
        self.assertEqual(set(controls), set(IDS))

        def origin(name):
            parent, left, top = LAYOUT[name][:3]
            ox, oy = origin(parent) if parent else (0, 0)
            return ox + px(left), oy + px(top)
        for name, (parent, left, top, width, height, text, enabled) in LAYOUT.items():
            c = controls[name]
            with self.subTest(control=name):
                self.assertEqual((c["x"], c["y"]), origin(name))
                if width:
                    self.assertEqual(c["w"], px(width))
                if height:
                    self.assertEqual(c["h"], px(height))
                self.assertEqual(c["text"] if "items" not in c else c["items"][c["cursel"]], text)
                self.assertEqual(bool(c["enabled"]), enabled)
        self.assertEqual(controls["cmbAction"]["items"], ["关机", "重新启动", "注销", "挂起", "睡眠"])
        self.assertEqual(controls["cmbUnit"]["items"], ["时", "分", "秒"])
        self.assertEqual(controls["cmbT"]["items"], ["AM", "PM"])
        self.assertEqual([controls[n]["check"] for n in ("opt(0)", "opt(1)", "chkForce", "chkBlink")], [1, 0, 1, 1])
        self.assertEqual([controls[n]["limit"] for n in ("txtPeriod", "txtHour", "txtMin", "txtBlink")], [3, 2, 2, 3])
        # Scroll bars count from the top, where the larger number sits.
        for name, top_value, value in (("vsPeriod", 999, 1), ("vsHour", 12, 1), ("vsMin", 59, 0), ("vsBlink", 999, 30)):
            self.assertEqual(top_value - controls[name]["pos"], value, name)
        # The containers are the parents of what they hold.
        self.assertEqual(controls["txtHour"]["parent"], controls["pic"]["hwnd"])
        self.assertEqual(controls["pic"]["parent"], controls["frame"]["hwnd"])
        self.assertEqual(controls["chkForce"]["parent"], controls["frame"]["hwnd"])
        b.screenshot(artefact("main-window.png"), "%dx%d+%d+%d" % (main["w"], main["h"], main["sx"], main["sy"]))

    def test_tab_order_and_first_focus(self):
        b = self.bench
        b.start()
        controls = b.controls()
        names = {c["hwnd"]: n for n, c in controls.items()}

        def focused():
            return names.get(b.driver("focus", b.main)[0]["focus"])
        self.assertEqual(focused(), "cmbAction")
        seen = []
        for _ in range(8):
            b.xdo("key", "Tab")
            seen.append(poll(focused, 2))
        # Clock-mode controls are disabled; only the chosen option takes the focus.
        self.assertEqual(seen, ["chkForce", "chkBlink", "txtBlink", "cmdTimer", "vsBlink", "vsPeriod", "opt(0)",
                                "cmbUnit"])
        b.xdo("key", "Tab")
        self.assertEqual(poll(lambda: focused() == "txtPeriod" and focused(), 2), "txtPeriod")
        b.xdo("key", "shift+Tab")
        self.assertEqual(poll(lambda: focused() == "cmbUnit" and focused(), 2), "cmbUnit")


class HighDpi(BenchTest):
    bench_options = {"dpi": 144}

    def test_window_scales_with_the_screen(self):
        b = self.bench
        b.start()
        main = b.find("Dusklet  V1.0")
        dpi = b.driver("screen")[0]["dpi"]
        self.assertEqual((main["cw"], main["ch"]), (px(3780, dpi), px(4335, dpi)))
        self.assertEqual(b.control("cmdTimer")["w"], px(3435, dpi))


class MediumDpi(HighDpi):
    bench_options = {"dpi": 120}


class Tray(BenchTest):
    def test_icon_and_idle_tooltip(self):
        b = self.bench
        b.start()
        self.assertEqual(len(poll(b.tray_icons, 5)), 1)
        self.assertEqual(b.tray_tooltip(), "没设置动作")

    def test_second_copy_shows_its_message_and_ends(self):
        b = self.bench
        b.start()
        poll(b.tray_icons, 5)
        second = b.start(wait=False)
        box = b.find("By: Brindle", 20)
        self.assertIsNotNone(box, "no message from the second copy")
        parts = b.driver("tree", box["hwnd"])[1:]
        self.assertIn("Dusklet已经运行中.", [p["text"] for p in parts])
        self.assertTrue(any(p["class"].lower() == "static" and p["style"] & 0x3 == 0x3 for p in parts), "no icon")
        buttons = [p for p in parts if p["class"].lower() == "button"]
        self.assertEqual(len(buttons), 1)
        b.send(buttons[0]["hwnd"], 0xF5)  # BM_CLICK on OK
        self.wait_gone(second)
        self.assertEqual(len(b.tray_icons()), 1)
        self.assertIsNotNone(b.find("Dusklet  V1.0"))


class LockEntry(BenchTest):
    def test_six_actions_on_2000_and_xp_only(self):
        b = self.bench
        for version, count in (("win2k", 6), ("winxp", 6), ("win98", 5), ("nt40", 5), ("win10", 5)):
            with self.subTest(version=version):
                b.set_version(version)
                proc = b.start()
                items = b.control("cmbAction")["items"]
                self.assertEqual(len(items), count)
                if count == 6:
                    self.assertEqual(items[5], "锁定计算机")
                b.post(b.main, 0x10)  # a close request only hides
                poll(lambda: not b.find("Dusklet  V1.0"), 5)
                proc.kill()
                b.wine(["/usr/lib/wine/wineserver", "-k"], check=False)


class SkinEngine(BenchTest):
    bench_options = {"relay": ["kernel32.LoadLibraryA", "kernelbase.LoadLibraryA", "kernel32.CreateFileA",
                               "kernelbase.CreateFileA", "SkinH_VB6.SkinH_AttachEx"]}

    def loaded(self):
        return [(f, a) for f, a in self.bench.relay_calls() if f.lower().endswith("loadlibrarya")]

    def test_attached_from_the_programs_folder(self):
        b = self.bench
        b.start()
        loads = [a for _, a in self.loaded()]
        self.assertTrue(any('C:\\\\Dusklet\\\\SkinH_VB6.dll' in a for a in loads), loads)
        opened = [a for f, a in b.relay_calls() if f.lower().endswith("createfilea")]
        self.assertTrue(any('C:\\\\Dusklet/aero.she' in a for a in opened), opened)

    def test_starts_without_the_engine(self):
        b = self.bench
        b.remove_skin_engine()
        b.start()
        self.assertEqual(len(poll(b.tray_icons, 5)), 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
