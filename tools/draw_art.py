#!/usr/bin/env python3
"""Draws Dusklet's icon (32x32, 24-bit with mask) and About banner (200x51, 8-bit palette, RLE8).

Usage: draw_art.py OUTPUT_DIR
The pictures are computed, not stored, so the repository holds no binary art.
"""
import math
import os
import struct
import sys


def icon_pixel(x, y):
    """A dusk sky disc with a crescent moon; None outside the disc (transparent)."""
    cx, cy, r = 15.5, 15.5, 15.0
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return None
    t = y / 31.0  # evening gradient: deep blue at the top, orange at the horizon
    sky = (int(40 + 200 * t * t), int(30 + 90 * t * t), int(110 - 70 * t))
    moon = math.hypot(x - 12, y - 11) <= 7.0 and math.hypot(x - 15.5, y - 8.5) > 6.0
    if moon:
        return (250, 236, 170)
    if d > r - 1.2:
        return (20, 20, 40)
    return sky


def write_icon(path):
    size = 32
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        bits = 0
        for x in range(size):
            p = icon_pixel(x, y)
            if p is None:
                xor += b"\0\0\0"
                bits |= 1 << (31 - x)
            else:
                r, g, b = p
                xor += bytes((b, g, r))
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


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
