"""Checks of the product executable itself: 32-bit GUI program that old loaders
accept, that newer Windows loads hardened, stripped with its debugging
information kept beside it, self-contained, and importing only what old
Windows has."""
import os
import re
import struct
import subprocess
import unittest
import xml.etree.ElementTree as ET

EXE = os.environ.get("DUSKLET_PRODUCT_EXE", "")
HERE = os.path.dirname(__file__)
SYMBOLS = os.path.join(os.path.dirname(EXE), "Dusklet.dbg")
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"


def objdump(*args, path=None):
    return subprocess.run(["i686-w64-mingw32-objdump", *args, path or EXE], capture_output=True, text=True,
                          check=True).stdout


def header_field(name):
    return int(re.search(r"^%s\s+([0-9a-fA-F]+)$" % name, objdump("-p"), re.MULTILINE).group(1), 16)


def imports():
    result, dll = set(), None
    for line in objdump("-p").splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
            continue
        m = re.match(r"\s+[0-9a-f]+\s+[0-9]+\s+(\S+)\s*$", line)
        if dll and m:
            result.add((dll, m.group(1)))
        if line.startswith("The Function Table") or line.startswith("PE File Base Relocations"):
            dll = None
    return result


def resources():
    """The executable's resources: {(type, id): bytes}, the first language of each."""
    with open(EXE, "rb") as f:
        raw = f.read()
    pe = struct.unpack_from("<I", raw, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H", raw, pe + 6)[0], struct.unpack_from("<H", raw, pe + 20)[0]
    optional = pe + 24
    root_rva = struct.unpack_from("<I", raw, optional + 96 + 2 * 8)[0]  # the third data directory
    table = [struct.unpack_from("<IIII", raw, optional + optional_size + 40 * i + 8) for i in range(sections)]

    def offset(rva):
        return next(raw_at + rva - at for _, at, raw_size, raw_at in table if at <= rva < at + raw_size)

    def entries(at):
        named, numbered = struct.unpack_from("<HH", raw, offset(root_rva + at) + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", raw, offset(root_rva + at) + 16 + 8 * i)
            yield name, target

    found = {}
    for kind, by_kind in entries(0):
        for number, by_number in entries(by_kind & 0x7FFFFFFF):
            _, leaf = next(entries(by_number & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", raw, offset(root_rva + leaf))
            found[(kind, number)] = raw[offset(rva):offset(rva) + size]
    return found


def manifest():
    rt_manifest, for_the_process = 24, 1
    return resources()[(rt_manifest, for_the_process)].decode("utf-8")


class Executable(unittest.TestCase):
    def test_imports_only_what_old_windows_has(self):
        allowed = set()
        with open(os.path.join(HERE, "allowed_imports.txt")) as f:
            for line in f:
                if line.strip() and not line.startswith("#"):
                    dll, name = line.split()
                    allowed.add((dll, name))
        found = imports()
        self.assertTrue(found)
        self.assertEqual(sorted(found - allowed), [])

    def test_old_loaders_accept_it(self):
        header = objdump("-p")
        self.assertIn("file format pei-i386", objdump("-f"))
        self.assertRegex(header, r"Subsystem\s+00000002\s+\(Windows GUI\)")
        self.assertRegex(header, r"MajorSubsystemVersion\s+4\b")
        self.assertRegex(header, r"MinorSubsystemVersion\s+0\b")
        self.assertRegex(header, r"MajorOSystemVersion\s+4\b")

    def test_newer_windows_load_it_without_elevation_at_a_chosen_address_and_no_code_in_data(self):
        trust = ET.fromstring(manifest()).find("{%s}trustInfo" % ASM_V3)
        self.assertIsNotNone(trust, "no trustInfo in the asm.v3 namespace")
        level = trust.find("{0}security/{0}requestedPrivileges/{0}requestedExecutionLevel".format("{%s}" % ASM_V3))
        self.assertEqual(level.attrib, {"level": "asInvoker", "uiAccess": "false"})
        # XP SP2 restarts on an element that declares a namespace twice: one declaration.
        self.assertIn('<trustInfo xmlns="%s">' % ASM_V3, manifest())
        dynamic_base, nx_compatible = 0x40, 0x100
        self.assertEqual(header_field("DllCharacteristics") & (dynamic_base | nx_compatible),
                         dynamic_base | nx_compatible)
        # Dynamic base needs the relocations of every absolute address.
        self.assertGreater(objdump("-p").count("HIGHLOW"), 100)

    def test_debugging_information_kept_beside_it_for_this_very_build(self):
        self.assertTrue(os.path.isfile(SYMBOLS), "no %s" % SYMBOLS)
        self.assertIn(".debug_info", objdump("-h", path=SYMBOLS))
        # The two come from one link: the same sections at the same addresses,
        # and the entry point where the symbols file puts Start.
        def sections(path):
            return re.findall(r"^\s*\d+ (\.\w+)\s+([0-9a-f]+)\s+([0-9a-f]+)", objdump("-h", path=path), re.MULTILINE)
        self.assertEqual([s for s in sections(SYMBOLS) if not s[0].startswith(".debug")], sections(EXE))
        entry = header_field("ImageBase") + header_field("AddressOfEntryPoint")
        starts = re.findall(r"^([0-9a-f]+) T _Start@0$", subprocess.run(
            ["i686-w64-mingw32-nm", SYMBOLS], capture_output=True, text=True, check=True).stdout, re.MULTILINE)
        self.assertEqual([int(a, 16) for a in starts], [entry])

    def test_stripped_and_self_contained(self):
        self.assertIn("no symbols", objdump("-t"))
        dlls = {d for d, _ in imports()}
        self.assertTrue(dlls <= {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
                                 "msvcrt.dll"}, dlls)

    def test_fits_the_size_budget(self):
        self.assertLessEqual(os.path.getsize(EXE), 80 * 1024)

    def test_icon_has_every_size_in_sixteen_colours_that_every_windows_reads(self):
        rt_icon, rt_group_icon = 3, 14
        found = resources()
        groups = [data for (kind, _), data in found.items() if kind == rt_group_icon]
        self.assertEqual(len(groups), 1)
        _, kind, count = struct.unpack_from("<HHH", groups[0])
        self.assertEqual(kind, 1)
        sizes = []
        for i in range(count):
            width, height, colours, _, planes, bits, length, number = struct.unpack_from("<BBBBHHIH", groups[0],
                                                                                         6 + 14 * i)
            image = found[(rt_icon, number)]
            sizes.append(width)
            with self.subTest(size=width):
                self.assertEqual((height, colours, planes, bits, length), (width, 16, 1, 4, len(image)))
                # A bitmap (no PNG, which Windows before Vista cannot read),
                # twice as high for the mask, with 16 palette entries.
                header = struct.unpack_from("<IiiHHI", image)
                self.assertEqual(header, (40, width, 2 * width, 1, 4, 0))
                stride = lambda bits_per_row: (bits_per_row + 31) // 32 * 4  # noqa: E731
                self.assertEqual(len(image), 40 + 16 * 4 + (stride(4 * width) + stride(width)) * width)
        self.assertEqual(sizes, [16, 20, 24, 32, 40, 48])

    def test_resources_hold_manifest_and_version_and_the_code_the_menu_texts(self):
        with open(EXE, "rb") as f:
            raw = f.read()
        self.assertIn(b'name="Windows Application" version="5.1.0.0" processorArchitecture="x86"', raw)
        self.assertIn(b'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', raw)
        self.assertIn("1.00.0004".encode("utf-16-le"), raw)
        self.assertIn("080403a8".encode("utf-16-le"), raw)
        # The menu is built at run time from the same texts as the windows.
        self.assertIn("退出(&X)".encode("utf-16-le"), raw)
        self.assertIn("关于(&A)".encode("utf-16-le"), raw)


if __name__ == "__main__":
    unittest.main(verbosity=2)
