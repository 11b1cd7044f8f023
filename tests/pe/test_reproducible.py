"""The 32-bit build is reproducible: the sources copied to a folder of another
path and built there give the product's Dusklet.exe, its symbols file
Dusklet.dbg and SkinH_VB6.dll byte for byte.

DUSKLET_PRODUCT_EXE names the main build's Dusklet.exe (SkinH_VB6.dll sits
beside it); DUSKLET_SOURCE the source tree it was built from.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

PRODUCT = os.environ.get("DUSKLET_PRODUCT_EXE", "")
SOURCE = os.path.abspath(os.environ.get("DUSKLET_SOURCE") or os.path.join(os.path.dirname(__file__), "..", ".."))
FILES = ("Dusklet.exe", "Dusklet.dbg", "SkinH_VB6.dll")


def source_files(source):
    """The files a commit of the working tree would hold, as they are on disk
    (tracked ones and new ones not ignored): what the main build compiled."""
    listed = subprocess.run(["git", "-C", source, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            capture_output=True, check=True).stdout.decode("utf-8").split("\0")
    return sorted({p for p in listed if p and os.path.isfile(os.path.join(source, p))})


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


@unittest.skipUnless(PRODUCT and os.path.isfile(PRODUCT), "DUSKLET_PRODUCT_EXE does not name a built Dusklet.exe")
class Reproducible(unittest.TestCase):
    def test_another_folder_builds_the_same_bytes(self):
        if subprocess.run(["git", "-C", SOURCE, "rev-parse", "--is-inside-work-tree"], capture_output=True).returncode:
            self.skipTest("%s is not a git checkout: no list of its source files" % SOURCE)
        work = tempfile.mkdtemp(prefix="dusklet-rebuild-")
        self.addCleanup(shutil.rmtree, work, True)
        copy, build = os.path.join(work, "source-copy"), os.path.join(work, "build-copy")
        for path in source_files(SOURCE):
            target = os.path.join(copy, path)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy(os.path.join(SOURCE, path), target)
        self.assertNotEqual(os.path.realpath(copy), os.path.realpath(SOURCE))

        steps = [["cmake", "-S", copy, "-B", build,
                  "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(copy, "cmake", "i686-w64-mingw32.cmake")],
                 ["cmake", "--build", build, "-j%d" % (os.cpu_count() or 1), "--target", *sorted({f.split(".")[0] for f in FILES})]]
        for step in steps:
            done = subprocess.run(step, capture_output=True, text=True)
            if done.returncode:
                self.fail("%s failed:\n%s%s" % (" ".join(step), done.stdout[-4000:], done.stderr[-4000:]))

        for name in FILES:
            with self.subTest(file=name):
                with open(os.path.join(os.path.dirname(PRODUCT), name), "rb") as f:
                    main = f.read()
                with open(os.path.join(build, name), "rb") as f:
                    again = f.read()
                self.assertGreater(len(main), 1024)
                if main != again:
                    self.fail("%s differs from the main build's (%d and %d bytes, first difference at 0x%x)"
                              % (name, len(main), len(again), first_difference(main, again)))


if __name__ == "__main__":
    unittest.main(verbosity=2, argv=sys.argv[:1])
