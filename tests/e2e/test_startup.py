"""Start-up under Wine: the window as laid out, the tray icon, one instance, the
lock entry by Windows version, and the skin engine call."""
import os
import re
import shutil
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import IDS, LAYOUT, MAIN_TITLE, WIN_BUILD, BenchTest, artefact, poll, px  # noqa: E402

WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_THICKFRAME, WS_SYSMENU = 0x20000, 0x10000, 0x40000, 0x80000
WS_EX_TOOLWINDOW, WS_EX_APPWINDOW = 0x80, 0x40000
MAIN = LAYOUT["main"]
ROWS = {c["name"]: c for c in MAIN["controls"]}


ORDER = [c["name"] for c in LAYOUT["main"]["controls"]]
HIDDEN = ORDER[ORDER.index("lblKb"):ORDER.index("lblIdleUnit") + 1]


class Window(BenchTest):
    def test_window_as_laid_out(self):
        b = self.bench
        b.start()
        main = b.find(MAIN_TITLE)
        self.assertEqual((main["cw"], main["ch"]), (px(MAIN["width"]), px(MAIN["height"])))
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
            row = ROWS[name]
            ox, oy = origin(row["parent"]) if row["parent"] else (0, 0)
            return ox + px(row["left"]), oy + px(row["top"])
        for name, row in ROWS.items():
            c = controls[name]
            with self.subTest(control=name):
                self.assertEqual((c["x"], c["y"]), origin(name))
                # Labels are sized to their text; a list's height includes its drop-down.
                if row["kind"] != "Label":
                    self.assertEqual(c["w"], px(row["width"]))
                if row["kind"] not in ("Label", "DropDownList"):
                    self.assertEqual(c["h"], px(row["height"]))
                if row["kind"] == "DropDownList":
                    # Windows 7, the bench's version, offers locking too, and every condition.
                    added = {"cmbAction": ["锁定计算机"], "cmbCondition": ["程序退出", "下载完成", "无人使用"]}
                    self.assertEqual(c["items"], row["items"] + added.get(name, []))
                    # Start-up selects the first entry; the program list is read when it opens.
                    self.assertEqual(c["cursel"], -1 if name == "cmbProgram" else 0)
                else:
                    self.assertEqual(c["text"], row["text"])
                self.assertEqual(bool(c["enabled"]), row["enabled"])
                if row["kind"] in ("Option", "Check"):
                    self.assertEqual(c["check"], int(row["checked"]))
                if row["kind"] == "TextBox":
                    self.assertEqual(c["limit"], row["max_length"])
                if row["kind"] == "SpinBar":
                    # Scroll bars count from the top, where Min (the larger number) sits.
                    self.assertEqual(row["min"] - c["pos"], row["value"])
                    self.assertEqual(c["max"] - c["min"], row["min"] - row["max"])
                if row["parent"]:
                    self.assertEqual(c["parent"], controls[row["parent"]]["hwnd"])
                # Of the conditions' rows only the first condition's show.
                self.assertEqual(bool(c["visible"]), name not in HIDDEN)
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
        # The window's reading order. Clock-mode controls are disabled; only the
        # chosen option takes the focus; the spin bars never do.
        self.assertEqual(seen, ["opt(0)", "txtPeriod", "cmbUnit", "chkForce", "chkBlink", "txtBlink", "cmdTimer",
                                "cmbAction"])
        b.xdo("key", "shift+Tab")
        self.assertEqual(poll(lambda: focused() == "cmdTimer" and focused(), 2), "cmdTimer")


class HighDpi(BenchTest):
    bench_options = {"dpi": 144}

    def test_window_scales_with_the_screen(self):
        b = self.bench
        b.start()
        main = b.find(MAIN_TITLE)
        dpi = b.driver("screen")[0]["dpi"]
        self.assertEqual((main["cw"], main["ch"]), (px(MAIN["width"], dpi), px(MAIN["height"], dpi)))
        self.assertEqual(b.control("cmdTimer")["w"], px(ROWS["cmdTimer"]["width"], dpi))


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
        box = b.message_box("By: Brindle", 20)
        self.assertIsNotNone(box, "no message from the second copy")
        self.assertIn("Dusklet已经运行中.", box["texts"])
        self.assertTrue(box["icon"], "no icon")
        self.assertEqual(len(box["buttons"]), 1)
        b.close_message_box(box)
        self.wait_gone(second)
        self.assertEqual(len(b.tray_icons()), 1)
        self.assertIsNotNone(b.find(MAIN_TITLE))


class LockEntry(BenchTest):
    def test_six_actions_on_the_nt_family_from_2000_on(self):
        b = self.bench
        for version, count in (("win2k", 6), ("winxp", 6), ("win7", 6), ("win10", 6), ("win98", 5), ("nt40", 5)):
            with self.subTest(version=version):
                b.set_version(version)
                proc = b.start()
                items = b.control("cmbAction")["items"]
                self.assertEqual(len(items), count)
                if count == 6:
                    self.assertEqual(items[5], "锁定计算机")
                b.post(b.main, 0x10)  # a close request only hides
                poll(lambda: not b.find(MAIN_TITLE), 5)
                proc.kill()
                b.wine(["/usr/lib/wine/wineserver", "-k"], check=False)


class SkinEngine(BenchTest):
    bench_options = {"relay": ["kernel32.LoadLibraryA", "kernelbase.LoadLibraryA", "kernel32.LoadLibraryW",
                               "kernelbase.LoadLibraryW", "kernel32.CreateFileA", "kernelbase.CreateFileA",
                               "SkinH_VB6.SkinH_AttachEx"]}

    def loaded(self):
        return [(f, a) for f, a in self.bench.relay_calls() if f.lower().endswith(("loadlibrarya", "loadlibraryw"))]

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


RT_GROUP_ICON, IDI_DUSKLET = 14, 1


def without_its_icon(image):
    """The executable with its icon renumbered in the resources, so that the
    program does not find it where it looks."""
    image = bytearray(image)
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    table = pe + 24 + optional_size
    rsrc = next(struct.unpack_from("<I", image, table + 40 * i + 20)[0] for i in range(count)
                if image[table + 40 * i:table + 40 * i + 8].rstrip(b"\0") == b".rsrc")

    def entry(directory, wanted):
        named, ids = struct.unpack_from("<HH", image, directory + 12)
        return next(at for at in range(directory + 16, directory + 16 + 8 * (named + ids), 8)
                    if struct.unpack_from("<I", image, at)[0] == wanted)
    icons = rsrc + (struct.unpack_from("<I", image, entry(rsrc, RT_GROUP_ICON) + 4)[0] & 0x7FFFFFFF)
    struct.pack_into("<I", image, entry(icons, IDI_DUSKLET), 0x7FFF)
    return bytes(image)


class MissingIcon(BenchTest):
    """A failed call the program carries on past is told to the debugger's output."""

    def setUp(self):
        folder = tempfile.mkdtemp(prefix="dusklet-no-icon-")
        self.addCleanup(shutil.rmtree, folder)
        for name in ("SkinH_VB6.dll", "aero.she"):
            shutil.copy(os.path.join(WIN_BUILD, name), folder)
        with open(os.path.join(WIN_BUILD, "Dusklet.exe"), "rb") as f:
            image = f.read()
        with open(os.path.join(folder, "Dusklet.exe"), "wb") as f:
            f.write(without_its_icon(image))
        self.bench_options = {"program_files": folder, "debug": ["+debugstr"]}
        super().setUp()

    def test_starts_without_its_icon_and_traces_the_failure(self):
        b = self.bench
        b.start()  # the window appears all the same
        with open(b.logs[-1], errors="replace") as f:
            traced = re.findall(r"OutputDebugStringA \"(Dusklet: .*)\\n\"", f.read())
        # At the small and the large size, resource type or name not found
        # (1813, 1814); nothing else failed.
        self.assertEqual(len(traced), 2, traced)
        for line in traced:
            self.assertRegex(line, r"^Dusklet: icon: not loaded at the system's size \(error 181[34]\)$")


if __name__ == "__main__":
    unittest.main(verbosity=2)
