#!/usr/bin/env python3
"""Reads the strings of a Windows executable's version resource.

Usage: pe_version.py EXE [KEY]    prints the string KEY (default FileVersion)

The version lives in one place, the VERSIONINFO block of win32/dusklet/res/dusklet.rc;
the release package takes its name from what the built executable carries.
"""
import struct
import sys

RT_VERSION = 16


class FormatError(ValueError):
    pass


def _sections(image):
    if image[:2] != b"MZ":
        raise FormatError("not an MZ executable")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise FormatError("no PE header")
    count, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    if magic == 0x10B:
        directories = optional + 96  # PE32
    elif magic == 0x20B:
        directories = optional + 112  # PE32+
    else:
        raise FormatError("unknown optional header 0x%x" % magic)
    resource_rva, resource_size = struct.unpack_from("<II", image, directories + 2 * 8)
    sections = []
    table = optional + optional_size
    for i in range(count):
        vsize, rva, raw_size, raw = struct.unpack_from("<IIII", image, table + 40 * i + 8)
        sections.append((rva, max(vsize, raw_size), raw))
    return sections, resource_rva, resource_size


def _offset(sections, rva):
    for start, size, raw in sections:
        if start <= rva < start + size:
            return raw + rva - start
    raise FormatError("address 0x%x is in no section" % rva)


def version_resource(image):
    """The raw VS_VERSIONINFO bytes of the first version resource."""
    sections, resource_rva, _ = _sections(image)
    if not resource_rva:
        raise FormatError("no resources")
    base = _offset(sections, resource_rva)

    def first_entry(directory, wanted=None):
        named, ids = struct.unpack_from("<HH", image, directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", image, directory + 16 + 8 * i)
            if wanted is None or name == wanted:
                return target
        return None

    target = first_entry(base, RT_VERSION)
    if target is None:
        raise FormatError("no version resource")
    for _ in range(2):  # name, then language
        if not target & 0x80000000:
            raise FormatError("malformed resource tree")
        target = first_entry(base + (target & 0x7FFFFFFF))
        if target is None:
            raise FormatError("empty resource directory")
    if target & 0x80000000:
        raise FormatError("malformed resource tree")
    data_rva, size = struct.unpack_from("<II", image, base + target)
    start = _offset(sections, data_rva)
    return image[start:start + size]


def _blocks(data, start, end):
    """The version blocks between start and end: (key, type, value bytes, children start, block end)."""
    offset = start
    while offset + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", data, offset)
        if length == 0:
            break
        block_end = min(offset + length, end)
        key_end = offset + 6
        while key_end + 1 < block_end and data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[offset + 6:key_end].decode("utf-16-le")
        value = (key_end + 2 + 3) & ~3
        value_size = value_length * 2 if kind == 1 else value_length
        children = (value + value_size + 3) & ~3
        yield key, kind, data[value:value + value_size], children, block_end
        offset = (block_end + 3) & ~3


def version_strings(image):
    """The StringFileInfo strings of the first string table, as a dict."""
    data = version_resource(image)
    root = next(_blocks(data, 0, len(data)), None)
    if root is None or root[0] != "VS_VERSION_INFO":
        raise FormatError("not a VS_VERSION_INFO block")
    for key, _, _, children, end in _blocks(data, root[3], root[4]):
        if key != "StringFileInfo":
            continue
        for _, _, _, table_children, table_end in _blocks(data, children, end):
            strings = {}
            for name, _, value, _, _ in _blocks(data, table_children, table_end):
                strings[name] = value.decode("utf-16-le").split("\0", 1)[0]
            return strings
    raise FormatError("no StringFileInfo")


def file_version(path, key="FileVersion"):
    with open(path, "rb") as f:
        strings = version_strings(f.read())
    if not strings.get(key):
        raise FormatError("%s has no %s string" % (path, key))
    return strings[key]


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__.strip().splitlines()[2])
    try:
        print(file_version(*argv[1:]))
    except (OSError, FormatError, struct.error) as e:
        sys.exit("pe_version.py: %s" % e)


if __name__ == "__main__":
    main(sys.argv)
