"""Checks of the product executable itself: 32-bit GUI program that old loaders
accept, stripped, self-contained, and importing only what old Windows has."""
import os
import re
import subprocess
import unittest

EXE = os.environ.get("DUSKLET_PRODUCT_EXE", "")
HERE = os.path.dirname(__file__)


def objdump(*args):
    return subprocess.run(["i686-w64-mingw32-objdump", *args, EXE], capture_output=True, text=True,
                          check=True).stdout


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

    def test_stripped_and_self_contained(self):
        self.assertIn("no symbols", objdump("-t"))
        dlls = {d for d, _ in imports()}
        self.assertTrue(dlls <= {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
                                 "msvcrt.dll"}, dlls)

    def test_fits_the_size_budget(self):
        self.assertLessEqual(os.path.getsize(EXE), 68 * 1024)

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
