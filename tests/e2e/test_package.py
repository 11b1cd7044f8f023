"""The release package: the Chinese guide as Notepad reads it, the zip's entries,
names and bytes, and the program started from the unpacked folder under Wine.

The zip is made once for the module by tools/package.py (the code that
scripts/package.sh runs) from the 32-bit build that DUSKLET_PRODUCT_EXE names.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(__file__))
from bench import ARCH, WIN_BUILD, SOURCE, open_bench, poll  # noqa: E402

sys.path.insert(0, os.path.join(SOURCE, "tools"))
import package  # noqa: E402
import pe_version  # noqa: E402

PRODUCT = os.environ.get("DUSKLET_PRODUCT_EXE") or os.path.join(WIN_BUILD, "..", "win32", "Dusklet.exe")
PRODUCT_DIR = os.path.dirname(PRODUCT)
EPOCH = 1765101722  # 2025-12-07 10:02:02 UTC
GUIDE = "说明.txt"
GUIDE_RAW_NAME = b"\xcb\xb5\xc3\xf7.txt"  # 说明.txt in code page 936
UNICODE_PATH = 0x7075
UTF8_FLAG = 0x800

work = zip_path = None


def setUpModule():
    global work, zip_path
    if not os.path.isfile(PRODUCT):
        raise unittest.SkipTest("no 32-bit build at %s" % PRODUCT)
    work = tempfile.mkdtemp(prefix="dusklet-package-test-")
    zip_path = package.package(PRODUCT_DIR, os.path.join(work, "dist"), EPOCH)


def tearDownModule():
    if work:
        shutil.rmtree(work, ignore_errors=True)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def zip_bytes():
    return read(zip_path)


def members():
    """(raw name bytes, ZipInfo, data) per entry, in the zip's order."""
    with zipfile.ZipFile(zip_path) as z:
        # Without the UTF-8 flag zipfile reads names as code page 437, which
        # gives the stored bytes back unchanged.
        return [(i.filename.encode("cp437"), i, z.read(i)) for i in z.infolist()]


def extra_fields(extra):
    fields, at = {}, 0
    while at + 4 <= len(extra):
        tag, size = struct.unpack_from("<HH", extra, at)
        fields[tag] = extra[at + 4:at + 4 + size]
        at += 4 + size
    return fields


def local_header(raw, offset):
    """(flags, name bytes, extra bytes) of the local header at offset."""
    signature, _, flags = struct.unpack_from("<IHH", raw, offset)
    assert signature == 0x04034B50, hex(signature)
    name_length, extra_length = struct.unpack_from("<HH", raw, offset + 26)
    name = raw[offset + 30:offset + 30 + name_length]
    return flags, name, raw[offset + 30 + name_length:offset + 30 + name_length + extra_length]


def guide_bytes():
    return dict((name, data) for name, _, data in members())[GUIDE_RAW_NAME]


def guide_lines():
    return guide_bytes().decode("gbk").split("\r\n")


class Guide(unittest.TestCase):
    def test_title_names_the_program_and_the_version_it_carries(self):
        self.assertEqual(guide_lines()[0], "Dusklet %s 使用说明" % pe_version.file_version(PRODUCT))

    def test_every_line_ends_in_crlf_without_a_byte_order_mark(self):
        raw = guide_bytes()
        self.assertFalse(raw.startswith(b"\xef\xbb\xbf"))
        self.assertTrue(raw.endswith(b"\r\n"))
        for number, line in enumerate(raw.split(b"\r\n")[:-1], 1):
            self.assertNotIn(b"\n", line, "line %d" % number)
            self.assertNotIn(b"\r", line, "line %d" % number)

    def test_gbk_text_is_the_source_text(self):
        with open(os.path.join(SOURCE, "docs", GUIDE), encoding="utf-8") as f:
            source = f.read().replace("@VERSION@", pe_version.file_version(PRODUCT))
        self.assertEqual(guide_bytes().decode("gbk"), source.replace("\n", "\r\n"))
        # Chinese text, not ASCII that happens to decode: GBK lead bytes are there.
        self.assertIn("开始定时".encode("gbk"), guide_bytes())

    def line_with(self, *words):
        found = [line for line in guide_lines() if all(w in line for w in words)]
        self.assertTrue(found, "no line of the guide holds all of %s" % (words,))
        return found[0]

    def test_arming_and_disarming(self):
        self.line_with("动作")
        self.assertTrue(self.line_with("之内").strip().startswith("之内："))
        self.assertTrue(self.line_with("于：").strip().startswith("于："))
        self.line_with("点击“开始定时”", "“激活定时器”")
        self.line_with("点击一次“禁止定时器”", "取消")
        self.line_with("右键", "“退出”")

    def test_window_tray_warning_and_failures(self):
        self.line_with("关闭按钮", "Esc", "托盘")
        self.line_with("双击托盘图标", "显示窗口")
        self.line_with("图标闪动之前执行", "最后 N 秒", "闪动")
        self.line_with("Windows 2000、ME 及以后", "气球提示")
        self.line_with("单击气球提示", "打开窗口", "回车键")
        self.line_with("无法执行", "消息框")
        self.line_with("定时已取消", "不会一声不响地退出")

    def test_actions_by_windows_version(self):
        sections, current = {}, None
        for line in guide_lines():
            if line.startswith("Windows ") and line.endswith("："):
                current = sections.setdefault(line[:-1], {})
            elif current is not None and line.startswith("  ") and "：" in line and not line.startswith("   "):
                key, _, text = line.strip().partition("：")
                current[key] = text
                last = key
            elif current is not None and line.startswith("    "):
                current[last] += line.strip()
            else:
                current = None
        refused = "不能执行（弹出消息框说明）"
        self.assertEqual(sections["Windows 95"], {"关机、重新启动、注销": "可以执行", "挂起": refused,
                                                  "睡眠": refused, "锁定计算机": "不提供"})
        self.assertEqual(sections["Windows NT 4.0"], sections["Windows 95"])
        # From 98 on, what the machine can do decides too.
        nine_x = sections["Windows 98、Windows ME"]
        modern = sections["Windows 2000、XP、Vista、7、8、10、11"]
        for versions in (nine_x, modern):
            self.assertEqual(set(versions), {"关机、重新启动、注销", "挂起", "睡眠", "锁定计算机"})
            self.assertEqual(versions["关机、重新启动、注销"], "可以执行")
            for phrase in ("支持挂起时可以执行", refused):
                self.assertIn(phrase, versions["挂起"])
            for phrase in ("已开启休眠功能时可以执行", refused):
                self.assertIn(phrase, versions["睡眠"])
        self.assertEqual(nine_x["锁定计算机"], "不提供")
        self.assertEqual(modern["锁定计算机"], "可以执行")
        for phrase in ("新式待机", "关闭显示器"):
            self.assertIn(phrase, modern["挂起"])
        self.assertEqual(len(sections), 4)

    def test_nothing_kept_and_removal(self):
        self.line_with("不写文件", "不写注册表")
        self.line_with("删除整个文件夹")
        self.line_with("SkinH_VB6.dll", "替身")
        self.line_with("第三方皮肤引擎", "SkinH_VB6.dll")


class Zip(unittest.TestCase):
    def test_name_carries_the_version_of_the_resource(self):
        with open(os.path.join(SOURCE, "win32", "dusklet", "res", "dusklet.rc"), encoding="ascii") as f:
            script = f.read()
        in_script = ".".join(re.search(r"#define VERSION_%s (\d+)" % part, script).group(1)
                             for part in ("MAJOR", "MINOR", "REVISION"))
        self.assertEqual(in_script, pe_version.file_version(PRODUCT))
        self.assertEqual(os.path.basename(zip_path), "Dusklet-%s-win32.zip" % in_script)

    def test_holds_the_four_files_in_order_with_their_bytes(self):
        entries = members()
        self.assertEqual([name for name, _, _ in entries],
                         [b"Dusklet.exe", b"SkinH_VB6.dll", b"aero.she", GUIDE_RAW_NAME])
        data = {name: d for name, _, d in entries}
        self.assertEqual(data[b"Dusklet.exe"], read(PRODUCT))
        self.assertEqual(data[b"SkinH_VB6.dll"], read(os.path.join(PRODUCT_DIR, "SkinH_VB6.dll")))
        self.assertEqual(data[b"aero.she"], read(os.path.join(SOURCE, "skin", "aero.she")))
        with zipfile.ZipFile(zip_path) as z:
            self.assertIsNone(z.testzip())  # every CRC right

    def test_guide_name_in_code_page_936_with_a_unicode_path_field(self):
        raw = zip_bytes()
        for name, info, _ in members():
            flags, local_name, local_extra = local_header(raw, info.header_offset)
            with self.subTest(name=name):
                self.assertFalse(info.flag_bits & UTF8_FLAG)
                self.assertFalse(flags & UTF8_FLAG)
                self.assertEqual(local_name, name)
                for extra in (info.extra, local_extra):
                    field = extra_fields(extra).get(UNICODE_PATH)
                    if name.isascii():
                        self.assertIsNone(field)
                        continue
                    self.assertIsNotNone(field)
                    version, crc = struct.unpack_from("<BI", field)
                    self.assertEqual((version, crc), (1, zlib.crc32(GUIDE_RAW_NAME)))
                    self.assertEqual(field[5:].decode("utf-8"), GUIDE)

    def test_unicode_aware_unzip_shows_the_chinese_name(self):
        if not shutil.which("unzip"):
            self.skipTest("Info-ZIP unzip is not installed")
        listing = subprocess.run(["unzip", "-Z1", zip_path], capture_output=True, env=dict(
            os.environ, LC_ALL="C.UTF-8"), check=True).stdout.decode("utf-8", "replace").split("\n")
        self.assertIn(GUIDE, listing)

    def test_fixed_dates_and_attributes(self):
        year, month, day, hour, minute, second = time.gmtime(EPOCH)[:6]
        for name, info, _ in members():
            with self.subTest(name=name):
                self.assertEqual(info.date_time, (year, month, day, hour, minute, second // 2 * 2))
                self.assertEqual((info.create_system, info.external_attr, info.compress_type), (0, 0x20, 0))

    def test_debugging_information_beside_the_zip_not_in_it(self):
        # Not in it: the test above lists the zip's four entries.
        beside = zip_path[:-len(".zip")] + ".dbg"
        self.assertEqual(read(beside), read(os.path.join(PRODUCT_DIR, "Dusklet.dbg")))
        self.assertEqual(sorted(os.listdir(os.path.dirname(zip_path))),
                         sorted(os.path.basename(p) for p in (zip_path, beside)))

    def test_same_bytes_whatever_the_files_dates_modes_and_folders(self):
        elsewhere = os.path.join(work, "another", "folder", "of", "the", "build")
        os.makedirs(elsewhere)
        for name in package.PROGRAM_FILES + (package.SYMBOLS,):
            shutil.copy(os.path.join(PRODUCT_DIR, name), elsewhere)
            os.chmod(os.path.join(elsewhere, name), 0o600)
            os.utime(os.path.join(elsewhere, name), (946684800, 946684800))
        again = package.package(elsewhere, os.path.join(work, "dist-again"), EPOCH)
        self.assertEqual(os.path.basename(again), os.path.basename(zip_path))
        self.assertEqual(read(again), zip_bytes())

    def test_refuses_a_64_bit_build(self):
        win64 = os.path.join(WIN_BUILD, "..", "win64")
        if not os.path.isfile(os.path.join(win64, "Dusklet.exe")):
            self.skipTest("no 64-bit build here")
        with self.assertRaises(package.PackageError):
            package.package(win64, os.path.join(work, "dist-64"), EPOCH)


class Unpacked(unittest.TestCase):
    def test_program_starts_from_the_unpacked_folder(self):
        folder = os.path.join(work, "unpacked", "Dusklet")
        os.makedirs(folder)
        with zipfile.ZipFile(zip_path) as z:
            for info in z.infolist():
                fields = extra_fields(info.extra)
                name = fields[UNICODE_PATH][5:].decode("utf-8") if UNICODE_PATH in fields else info.filename
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(z.read(info))
        self.assertEqual(sorted(os.listdir(folder)), sorted(["Dusklet.exe", "SkinH_VB6.dll", "aero.she", GUIDE]))
        if ARCH == "win64":
            # This machine cannot execute 32-bit code, so the 64-bit build of the
            # same sources takes the place of the package's Dusklet.exe and
            # SkinH_VB6.dll; aero.she and the folder layout are the package's.
            print("note: running the 64-bit build's Dusklet.exe and SkinH_VB6.dll from the unpacked folder",
                  file=sys.stderr)
            for name in ("Dusklet.exe", "SkinH_VB6.dll"):
                shutil.copy(os.path.join(WIN_BUILD, name), folder)
        bench = open_bench(self, program_files=folder)
        bench.start()  # fails unless the main window appears
        self.assertEqual(len(poll(lambda: bench.tray_icons(), 10) or []), 1, "no tray icon")


if __name__ == "__main__":
    unittest.main(verbosity=2)
