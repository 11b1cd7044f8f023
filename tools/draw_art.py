#!/usr/bin/env python3
"""Draws Dusklet's icon (16 to 48 pixels, 16 colours each, with mask) and About banner (200x51, 8-bit
palette, RLE8).

Usage: draw_art.py OUTPUT_DIR
The pictures are computed, not stored, so the repository holds no binary art.
"""
import math
import os
import struct
import sys


# The icon's sizes: the system's small icon at 100% to 250% and its big icon
# at 100% to 150%. Each is drawn from the geometry, not resampled from another.
ICON_SIZES = (16, 20, 24, 32, 40, 48)


def icon_pixel(x, y, rim=1.2):
    """A dusk sky disc with a crescent moon, on a 32-unit grid; None outside
    the disc (transparent). rim: the dark edge's width in grid units."""
    cx, cy, r = 15.5, 15.5, 15.0
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return None
    t = y / 31.0  # evening gradient: deep blue at the top, orange at the horizon
    sky = (int(40 + 200 * t * t), int(30 + 90 * t * t), int(110 - 70 * t))
    moon = math.hypot(x - 12, y - 11) <= 7.0 and math.hypot(x - 15.5, y - 8.5) > 6.0
    if moon:
        return (250, 236, 170)
    if d > r - rim:
        return (20, 20, 40)
    return sky


def icon_image(size):
    """The icon at size x size pixels, rows top down: each pixel the geometry
    at its centre, and the dark edge at least one pixel wide."""
    unit = 32.0 / size  # grid units per pixel
    rim = max(1.2, unit)
    return [[icon_pixel((x + 0.5) * unit - 0.5, (y + 0.5) * unit - 0.5, rim) for x in range(size)]
            for y in range(size)]


def reduce_colours(counts, most):
    """At most `most` colours standing for the keys of counts (colour: pixels):
    the two whose merging moves the pixels least are merged, weighted by their
    pixels, until few enough are left. Returns the colours and, for each
    original colour, the index of the one that stands for it."""
    groups = [[c, n, [c]] for c, n in sorted(counts.items())]
    while len(groups) > most:
        best = None
        for i in range(len(groups)):
            for j in range(i + 1, len(groups)):
                (a, na, _), (b, nb, _) = groups[i], groups[j]
                cost = na * nb / (na + nb) * sum((p - q) ** 2 for p, q in zip(a, b))
                if best is None or cost < best[0]:
                    best = (cost, i, j)
        _, i, j = best
        (a, na, ma), (b, nb, mb) = groups[i], groups[j]
        groups[i] = [tuple((p * na + q * nb) / (na + nb) for p, q in zip(a, b)), na + nb, ma + mb]
        del groups[j]
    colours = [tuple(int(round(v)) for v in g[0]) for g in groups]
    return colours, {c: i for i, g in enumerate(groups) for c in g[2]}


def icon_entry(size):
    """One image of the icon file: 4 bits a pixel with a palette of its own
    (black, which the transparent pixels take, and 15 chosen for the picture),
    then the mask. Sixteen colours keep each image small; every Windows
    version reads this form."""
    image = icon_image(size)
    counts = {}
    for row in image:
        for p in row:
            if p is not None:
                counts[p] = counts.get(p, 0) + 1
    colours, index = reduce_colours(counts, 15)
    palette = [(0, 0, 0)] + colours + [(0, 0, 0)] * (15 - len(colours))
    xor_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(image):  # bottom-up rows
        nibbles = [0 if p is None else 1 + index[p] for p in row]
        nibbles += [0] * (xor_stride * 2 - size)
        xor += bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        bits = 0
        for x, p in enumerate(row):
            if p is None:
                bits |= 1 << (mask_stride * 8 - 1 - x)
        mask += bits.to_bytes(mask_stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 0, 0)
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colour_table + xor + mask


def write_icon(path):
    entries = [icon_entry(size) for size in ICON_SIZES]
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(directory) + 16 * len(entries)
    for size, entry in zip(ICON_SIZES, entries):
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(entry), offset)
        offset += len(entry)
    with open(path, "wb") as f:
        f.write(directory + b"".join(entries))


FONT = {  # 5x7 capitals for the banner's word
    "D": ["1110", "1001", "1001", "1001", "1001", "1001", "1110"],
    "U": ["1001", "1001", "1001", "1001", "1001", "1001", "0110"],
    "S": ["0111", "1000", "1000", "0110", "0001", "0001", "1110"],
    "K": ["1001", "1010", "1100", "1100", "1010", "1001", "1001"],
    "L": ["1000", "1000", "1000", "1000", "1000", "1000", "1111"],
    "E": ["1111", "1000", "1000", "1110", "1000", "1000", "1111"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
}


def write_banner(path):
    w, h = 200, 51
    pixels = [[(255, 255, 255)] * w for _ in range(h)]
    # The icon's disc at the left, twice its size.
    for y in range(h):
        for x in range(64):
            p = icon_pixel(x / 2.0, (y - 9) / 2.0 + 4)
            if p is not None and 0 <= (y - 9) / 2.0 + 4 <= 31:
                pixels[y][x] = p
    # The word in dusk blue, three pixels per font dot.
    px = 74
    for ch in "DUSKLET":
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == "1":
                    for dy in range(3):
                        for dx in range(3):
                            pixels[15 + gy * 3 + dy][px + gx * 3 + dx] = (40, 50, 120)
        px += (len(glyph[0]) + 1) * 3
    # A horizon line under the word.
    for x in range(74, 196):
        pixels[41][x] = (230, 140, 60)
    # 8 bits per pixel with a palette of the colours used, run-length encoded
    # (BI_RLE8): the picture is mostly runs of one colour, so it takes about
    # a tenth of its plain size, and every Windows version decodes it.
    palette = sorted(set(p for row in pixels for p in row))
    assert len(palette) <= 256, len(palette)
    index = {p: i for i, p in enumerate(palette)}
    data = bytearray()
    for y in reversed(range(h)):  # bottom-up rows
        row = [index[p] for p in pixels[y]]
        x = 0
        while x < w:
            n = 1
            while x + n < w and row[x + n] == row[x] and n < 255:
                n += 1
            data += bytes((n, row[x]))
            x += n
        data += b"\0\0"  # end of line
    data[-1] = 1  # the last end of line is the end of the picture
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    bi_rle8 = 1
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, bi_rle8, len(data), 2835, 2835, len(palette), 0)
    offset = 14 + len(info) + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + info + colours + data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_icon(os.path.join(out, "dusklet.ico"))
    write_banner(os.path.join(out, "banner.bmp"))


if __name__ == "__main__":
    main()
