"""The About window on the real program: opening, closing, the mail link."""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import ABOUT_TITLE, APP_DIR, LAYOUT, MAIN_TITLE, BenchTest, artefact, poll, px  # noqa: E402

SS_BITMAP = 0xE
AUTHOR = "作者: Varrow.\r\n\r\n如果你喜欢这个程序，别忘了给我发送一个电子邮件或者常去我的网站哦."
ABOUT = LAYOUT["about"]
ROWS = {c["name"]: c for c in ABOUT["controls"]}


class About(BenchTest):
    def setUp(self):
        super().setUp()
        self.proc = self.bench.start()
        poll(self.bench.tray_icons, 5)
        mail = os.path.join(APP_DIR, "mail.txt")
        if os.path.exists(mail):
            os.unlink(mail)

    def choose_about(self):
        self.bench.choose_about()

    def open_about(self):
        self.choose_about()
        about = self.bench.find(ABOUT_TITLE, 5)
        self.assertIsNotNone(about, "About did not open")
        return about

    def abouts(self):
        return [w for w in self.bench.driver("windows") if w["text"] == ABOUT_TITLE and w["visible"]]

    def test_choosing_about_again_brings_the_open_one_forward(self):
        b = self.bench
        first = self.open_about()
        self.choose_about()
        self.assertEqual([w["hwnd"] for w in self.abouts()], [first["hwnd"]])
        self.assertTrue(poll(lambda: (b.driver("foreground") or [{}])[0].get("hwnd") == first["hwnd"], 3))
        b.xdo("key", "Escape")
        self.assertTrue(self.closed())
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE)["enabled"], 3))
        self.assertIsNone(self.proc.poll())
        # A third time opens a fresh one, once.
        self.open_about()
        self.assertEqual(len(self.abouts()), 1)

    def parts(self, about):
        return self.bench.driver("tree", about["hwnd"])[1:]

    def closed(self):
        return poll(lambda: self.bench.find(ABOUT_TITLE) is None, 3)

    def test_window_and_its_contents(self):
        b = self.bench
        about = self.open_about()
        self.assertEqual((about["cw"], about["ch"]), (px(ABOUT["width"]), px(ABOUT["height"])))
        self.assertEqual(about["owner"], b.main)
        self.assertFalse(b.find(MAIN_TITLE)["enabled"])  # the owner takes no input meanwhile
        texts = [p["text"] for p in self.parts(about)]
        self.assertIn(AUTHOR, texts)
        self.assertIn(ROWS["lblEMail"]["text"], texts)
        # The banner at its natural size, 200 x 51 pixels.
        image = [p for p in self.parts(about) if p["style"] & 0x1F == SS_BITMAP]
        self.assertEqual([(i["x"], i["y"], i["w"], i["h"]) for i in image],
                         [(px(ROWS["Image1"]["left"]), px(ROWS["Image1"]["top"]), 200, 51)])
        b.screenshot(artefact("about-window.png"), "%dx%d+%d+%d" % (about["w"], about["h"], about["sx"], about["sy"]))

    def test_enter_leaves_it_open_and_esc_closes(self):
        b = self.bench
        self.open_about()
        b.xdo("key", "Return")
        self.assertFalse(self.closed())
        b.xdo("key", "Escape")
        self.assertTrue(self.closed())
        self.assertTrue(b.find(MAIN_TITLE)["enabled"])

    def test_clicks_on_the_picture_do_nothing_and_on_the_background_close(self):
        b = self.bench
        about = self.open_about()
        image = [p for p in self.parts(about) if p["style"] & 0x1F == SS_BITMAP][0]
        b.xdo("mousemove", image["sx"] + 100, image["sy"] + 25, "click", "1")
        self.assertFalse(self.closed())
        border = (about["w"] - about["cw"]) // 2
        left, top = about["sx"] + border, about["sy"] + about["h"] - about["ch"] - border
        b.xdo("mousemove", left + 50, top + 30, "click", "1")  # bare background, above the picture
        self.assertTrue(self.closed())

    def test_the_mail_link_opens_a_message_and_underlines_under_the_pointer(self):
        b = self.bench
        about = self.open_about()
        link = [p for p in self.parts(about) if p["text"] == ROWS["lblEMail"]["text"]][0]
        crop = "%dx%d+%d+%d" % (link["w"], link["h"], link["sx"], link["sy"])
        plain, hovered, left = (artefact("link-%s.png" % n) for n in ("plain", "hover", "left"))
        b.screenshot(plain, crop)
        b.xdo("mousemove", link["sx"] + link["w"] // 2, link["sy"] + link["h"] // 2)
        b.xdo("mousemove", link["sx"] + link["w"] // 2 + 1, link["sy"] + link["h"] // 2)
        poll(lambda: b.screenshot(hovered, crop) or not same(plain, hovered), 3)
        self.assertFalse(same(plain, hovered), "no underline under the pointer")
        border = (about["w"] - about["cw"]) // 2
        b.xdo("mousemove", about["sx"] + border + 50, about["sy"] + about["h"] - about["ch"] - border + 30)
        poll(lambda: b.screenshot(left, crop) or same(plain, left), 3)
        self.assertTrue(same(plain, left), "the underline stayed on the background")
        b.xdo("mousemove", link["sx"] + link["w"] // 2, link["sy"] + link["h"] // 2, "click", "1")
        mail = os.path.join(APP_DIR, "mail.txt")
        self.assertTrue(poll(lambda: os.path.exists(mail), 10), "the mail program was not started")
        with open(mail, encoding="utf-8") as f:
            self.assertEqual(f.read().strip(), "mailto:varrow@example.com?subject=Dusklet")
        self.assertFalse(self.closed())

    def test_tray_double_click_closes_it_and_shows_the_main_window(self):
        b = self.bench
        b.xdo("key", "Escape")  # main window hidden first
        poll(lambda: b.find(MAIN_TITLE) is None, 3)
        self.open_about()
        b.tray_double_click()
        self.assertTrue(self.closed())
        self.assertTrue(poll(lambda: b.find(MAIN_TITLE), 3))
        self.assertTrue(b.find(MAIN_TITLE)["enabled"])

    def test_firing_while_open_ends_cleanly(self):
        b = self.bench
        b.choose("cmbAction", 4)  # hibernate: Wine does nothing, so the program's own exit shows
        b.choose("cmbUnit", 2)
        b.set_text("txtPeriod", "3")
        b.click_control("cmdTimer")
        self.open_about()
        self.wait_gone(self.proc, 15)
        self.assertEqual(b.tray_icons(), [])
        self.assertIsNone(b.find(ABOUT_TITLE))
        self.assertIsNone(b.find(MAIN_TITLE))


def same(a, b):
    if not (os.path.exists(a) and os.path.exists(b)):
        return False
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return out.stderr.strip().split()[0] == "0"


if __name__ == "__main__":
    unittest.main(verbosity=2)
