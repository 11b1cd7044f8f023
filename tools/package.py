#!/usr/bin/env python3
"""Makes Dusklet's release zip from a 32-bit build.

Usage: package.py [--epoch SECONDS] BUILD_DIR OUT_DIR

Writes OUT_DIR/Dusklet-<version>-win32.zip and prints its path. The version is
the FileVersion string of BUILD_DIR/Dusklet.exe's version resource. The zip
holds, in this order, Dusklet.exe, SkinH_VB6.dll, aero.she and the user guide
说明.txt, converted from docs/说明.txt (UTF-8) to GBK with CRLF line ends so
that Notepad shows it on every Chinese Windows. Beside it, not in it, goes
Dusklet.exe's debugging information as OUT_DIR/Dusklet-<version>-win32.dbg,
for reading crash reports of that release.

The zip's bytes depend only on those files' contents and on the epoch (from
--epoch, else SOURCE_DATE_EPOCH, else 1980-01-01), never on file dates,
permissions, folders or the zlib at hand: every entry carries the epoch's date,
the same attributes, and is stored, not compressed.
"""
import argparse
import os
import re
import struct
import sys
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import pe_version  # noqa: E402

GUIDE_SOURCE = os.path.join(HERE, "..", "docs", "说明.txt")
GUIDE_NAME = "说明.txt"
SYMBOLS = "Dusklet.dbg"
PROGRAM_FILES = ("Dusklet.exe", "SkinH_VB6.dll", "aero.she")
MEMBERS = PROGRAM_FILES + (GUIDE_NAME,)
# Names are written in the Chinese Windows code page, as that system's own zip
# tools read them (no UTF-8 flag); tools that know Unicode read the UTF-8 name
# from the Info-ZIP Unicode Path field.
NAME_ENCODING = "gbk"
UNICODE_PATH_FIELD = 0x7075
DOS_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC, the earliest date a zip holds
MADE_BY = 20  # zip 2.0 on MS-DOS/FAT: the external attributes are DOS attributes
NEEDED = 10  # stored entries need only zip 1.0
ATTRIBUTES = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Windows writes a plain file
I386 = 0x14C


class PackageError(Exception):
    pass


def guide_bytes(source_text, version):
    """The guide as shipped: the version filled in, GBK, CRLF after every line."""
    text = source_text.lstrip("\ufeff").replace("\r\n", "\n").replace("\r", "\n")
    if "@VERSION@" not in text:
        raise PackageError("the guide has no @VERSION@ to fill in")
    text = text.replace("@VERSION@", version)
    if not text.endswith("\n"):
        text += "\n"
    try:
        return text.replace("\n", "\r\n").encode("gbk")
    except UnicodeEncodeError as e:
        raise PackageError("the guide has a character GBK lacks: %r" % e.object[e.start:e.end])


def dos_date_time(epoch):
    """A zip's (time, date) fields for epoch seconds, read as UTC (two-second steps)."""
    t = time.gmtime(max(int(epoch), DOS_EPOCH))
    if t.tm_year > 2107:
        raise PackageError("a zip cannot hold dates after 2107")
    return ((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2),
            ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday)


def _unicode_path_field(name, raw_name):
    data = struct.pack("<BI", 1, zlib.crc32(raw_name)) + name.encode("utf-8")
    return struct.pack("<HH", UNICODE_PATH_FIELD, len(data)) + data


def zip_archive(members, epoch):
    """A zip of (name, bytes) pairs, in the given order, every entry stored."""
    mod_time, mod_date = dos_date_time(epoch)
    body, directory = bytearray(), bytearray()
    for name, data in members:
        raw_name = name.encode(NAME_ENCODING)
        extra = b"" if raw_name.isascii() else _unicode_path_field(name, raw_name)
        crc = zlib.crc32(data)
        offset = len(body)
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, NEEDED, 0, 0, mod_time, mod_date, crc, len(data),
                            len(data), len(raw_name), len(extra)) + raw_name + extra + data
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, MADE_BY, NEEDED, 0, 0, mod_time, mod_date,
                                 crc, len(data), len(data), len(raw_name), len(extra), 0, 0, 0, ATTRIBUTES,
                                 offset) + raw_name + extra
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members), len(directory), len(body), 0)
    return bytes(body + directory + end)


def _machine(image):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    return struct.unpack_from("<H", image, pe + 4)[0]


def package(build_dir, out_dir, epoch=None, guide_source=GUIDE_SOURCE):
    """Writes the release zip of build_dir, and the symbols file beside it,
    into out_dir; returns the zip's path."""
    if epoch is None:
        epoch = int(os.environ.get("SOURCE_DATE_EPOCH") or DOS_EPOCH)
    files = {}
    for name in PROGRAM_FILES:
        with open(os.path.join(build_dir, name), "rb") as f:
            files[name] = f.read()
    for name in ("Dusklet.exe", "SkinH_VB6.dll"):
        if _machine(files[name]) != I386:
            raise PackageError("%s is not the 32-bit build" % os.path.join(build_dir, name))
    version = pe_version.version_strings(files["Dusklet.exe"]).get("FileVersion", "")
    if not re.fullmatch(r"[0-9A-Za-z][0-9A-Za-z.]*", version):
        raise PackageError("unusable FileVersion %r in Dusklet.exe" % version)
    with open(guide_source, encoding="utf-8") as f:
        files[GUIDE_NAME] = guide_bytes(f.read(), version)
    with open(os.path.join(build_dir, SYMBOLS), "rb") as f:
        symbols = f.read()
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, "Dusklet-%s-win32.zip" % version)
    with open(path, "wb") as f:
        f.write(zip_archive([(name, files[name]) for name in MEMBERS], epoch))
    with open(path[:-len(".zip")] + ".dbg", "wb") as f:
        f.write(symbols)
    return path


def main():
    parser = argparse.ArgumentParser(description="Makes Dusklet's release zip from a 32-bit build.")
    parser.add_argument("--epoch", type=int, help="the entries' date, in seconds since 1970 (UTC)")
    parser.add_argument("build_dir")
    parser.add_argument("out_dir")
    args = parser.parse_args()
    try:
        print(package(args.build_dir, args.out_dir, args.epoch))
    except (OSError, PackageError, pe_version.FormatError) as e:
        sys.exit("package.py: %s" % e)


if __name__ == "__main__":
    main()
