"""The icon at the screen's DPI: at 96, 144 and 192 DPI the tray and the main
window's caption show the icon's image of the system's small-icon size pixel
for pixel, not an image of another size scaled to it."""
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import MAIN_TITLE, WIN_BUILD, BenchTest, artefact, poll  # noqa: E402

# The icon file drawn at build time, which the program's resources hold.
ICON_FILE = os.path.join(WIN_BUILD, "art", "dusklet.ico")


def icon_picture(size):
    """The icon file's 16-colour image of size x size pixels: rows top down of
    (r, g, b), None where transparent."""
    with open(ICON_FILE, "rb") as f:
        data = f.read()
    count = struct.unpack_from("<H", data, 4)[0]
    for i in range(count):
        width, _, _, _, _, bits, _, at = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if width == size and bits == 4:
            break
    else:
        raise AssertionError("no %d-pixel image in %s" % (size, ICON_FILE))
    palette = [tuple(data[at + 40 + 4 * k + 2 - c] for c in range(3)) for k in range(16)]
    colours_at = at + 40 + 64
    colour_stride, mask_stride = (size * 4 + 31) // 32 * 4, (size + 31) // 32 * 4
    mask_at = colours_at + colour_stride * size
    rows = []
    for y in range(size):
        line = size - 1 - y  # stored bottom up
        row = []
        for x in range(size):
            if data[mask_at + line * mask_stride + x // 8] >> (7 - x % 8) & 1:
                row.append(None)
            else:
                byte = data[colours_at + line * colour_stride + x // 2]
                row.append(palette[byte >> 4 if x % 2 == 0 else byte & 15])
        rows.append(row)
    return rows


def find_picture(screen, picture):
    """Where `picture` shows in `screen` (rows of colours), its transparent
    pixels over anything: the top left corner (x, y), or None."""
    size = len(picture)
    for top in range(len(screen) - size + 1):
        for left in range(len(screen[0]) - size + 1):
            if all(p is None or p == screen[top + y][left + x]
                   for y, row in enumerate(picture) for x, p in enumerate(row)):
                return left, top
    return None


class At96Dpi(BenchTest):
    bench_options = {"dpi": 96}

    def test_tray_and_caption_show_the_small_icon_as_drawn(self):
        b = self.bench
        b.start()
        size = b.driver("iconsizes")[0]["small"]
        self.assertEqual(size, 16 * b.dpi // 96)  # the system's small icon follows the DPI
        picture = icon_picture(size)
        icons = poll(b.tray_icons, 5)
        self.assertEqual(len(icons), 1)
        tray = icons[0]
        b.screenshot(artefact("tray-icon-%d-dpi.png" % b.dpi), "%dx%d+%d+%d" % (tray["w"], tray["h"], tray["sx"],
                                                                               tray["sy"]))
        self.assertTrue(poll(lambda: find_picture(b.pixels(tray["sx"], tray["sy"], tray["w"], tray["h"]), picture),
                             5), "the tray does not show the %d-pixel image" % size)
        # The caption's icon, at the left of the title bar.
        main = b.find(MAIN_TITLE)
        caption = main["h"] - main["ch"]
        self.assertTrue(poll(lambda: find_picture(b.pixels(main["sx"], main["sy"], 3 * size, caption), picture), 5),
                        "the caption does not show the %d-pixel image" % size)


class At144Dpi(At96Dpi):
    bench_options = {"dpi": 144}


class At192Dpi(At96Dpi):
    bench_options = {"dpi": 192}


if __name__ == "__main__":
    unittest.main(verbosity=2)
