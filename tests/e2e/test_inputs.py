"""The number boxes, spinners and options with real keys and clicks."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BenchTest, poll  # noqa: E402


class Inputs(BenchTest):
    def setUp(self):
        super().setUp()
        self.bench.start()

    def type_into(self, name, *keys, select_all=False):
        b = self.bench
        b.click_control(name)
        b.xdo("key", "End")
        if select_all:
            b.xdo("key", "shift+Home")
        for k in keys:
            if k.startswith("key:"):
                b.xdo("key", k[4:])
            else:
                b.xdo("type", "--delay", "30", k)

    def settles_on(self, name, text):
        poll(lambda: self.bench.text(name) == text, 3)
        return self.bench.text(name)

    def value(self, bar, top):
        return top - self.bench.control(bar)["pos"]

    def focused(self):
        names = {c["hwnd"]: n for n, c in self.bench.controls().items()}
        return names.get(self.bench.driver("focus", self.bench.main)[0]["focus"])

    def focus_reaches(self, name):
        """The control that has the focus once `name` has it, or after 3 s."""
        poll(lambda: self.focused() == name, 3)
        return self.focused()

    def test_two_tabs_reach_the_countdown_where_up_and_down_step_it(self):
        b = self.bench
        self.assertEqual(self.focus_reaches("cmbAction"), "cmbAction")
        b.xdo("key", "Tab", "Tab")
        self.assertEqual(self.focus_reaches("txtPeriod"), "txtPeriod")
        b.xdo("key", "Up", "Up")
        self.assertEqual(self.settles_on("txtPeriod", "3"), "3")
        self.assertEqual(self.value("vsPeriod", 999), 3)
        b.xdo("key", "Down", "Down", "Down", "Down")  # two beyond the lower end
        self.assertEqual(self.settles_on("txtPeriod", "1"), "1")
        self.assertEqual(self.value("vsPeriod", 999), 1)
        # The bar's own arrow steps it too, and leaves the focus in the box.
        c = b.control("vsPeriod")
        b.xdo("mousemove", c["sx"] + c["w"] // 2, c["sy"] + 3, "click", "1")
        self.assertEqual(self.settles_on("txtPeriod", "2"), "2")
        self.assertEqual(self.focused(), "txtPeriod")

    def test_arrows_choose_within_the_option_group(self):
        b = self.bench
        self.assertEqual(self.focus_reaches("cmbAction"), "cmbAction")
        b.xdo("key", "Tab", "Down")  # to 之内, then 于: clock mode
        self.assertTrue(poll(lambda: b.control("txtHour")["enabled"], 3))
        self.assertEqual(b.control("opt(1)")["check"], 1)
        b.xdo("key", "Tab", "Tab", "Up")  # past the hour to the minute, one up
        self.assertEqual(self.settles_on("txtMin", "01"), "01")
        self.assertEqual(self.focused(), "txtMin")

    def test_typing_digits_only(self):
        self.type_into("txtPeriod", "5", "key:BackSpace", "abc -.", "9", "9")
        self.assertEqual(self.settles_on("txtPeriod", "159"), "159")
        self.assertEqual(self.value("vsPeriod", 999), 159)
        self.type_into("txtBlink", "0", select_all=True)
        self.assertEqual(self.settles_on("txtBlink", "0"), "0")  # kept while the user types
        self.bench.xdo("key", "Tab")
        self.assertEqual(self.settles_on("txtBlink", "1"), "1")  # then raised to the lower bound
        self.assertEqual(self.value("vsBlink", 999), 1)

    def test_clock_boxes_clamp_and_format(self):
        b = self.bench
        b.click_control("opt(1)")
        self.assertTrue(poll(lambda: b.control("txtHour")["enabled"], 3))
        self.type_into("txtHour", "3")  # "13": above the range, cut back at once
        self.assertEqual(self.settles_on("txtHour", "12"), "12")
        self.assertEqual(self.value("vsHour", 12), 12)
        self.type_into("txtMin", "7", select_all=True)
        self.assertEqual(self.value("vsMin", 59), 7)  # the spinner follows at once
        b.xdo("key", "Tab")
        self.assertEqual(self.settles_on("txtMin", "07"), "07")  # two digits once left

    def test_the_number_typed_is_the_number_kept(self):
        b = self.bench
        b.click_control("opt(1)")
        self.assertTrue(poll(lambda: b.control("txtMin")["enabled"], 3))
        # 45 over the minute box's selected "00", and arming reads it.
        self.type_into("txtMin", "45", select_all=True)
        self.assertEqual(self.settles_on("txtMin", "45"), "45")
        b.click_control("cmdTimer")
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 5))
        self.assertRegex(b.tray_tooltip(), r":45:00执行关机$")
        b.click_control("cmdTimer")
        self.assertTrue(poll(lambda: b.control("txtMin")["enabled"], 5))
        # Emptied and left, the minute box reads 00.
        self.type_into("txtMin", "key:Delete", select_all=True)
        self.assertEqual(self.settles_on("txtMin", ""), "")
        b.xdo("key", "Tab")
        self.assertEqual(self.settles_on("txtMin", "00"), "00")
        # The countdown box emptied (Backspace types nothing in these boxes;
        # Delete removes), then 45 typed: 45, not 145.
        b.click_control("opt(0)")
        self.assertTrue(poll(lambda: b.control("txtPeriod")["enabled"], 3))
        self.type_into("txtPeriod", "key:Home", "key:Delete", "key:Delete", "45")
        self.assertEqual(self.settles_on("txtPeriod", "45"), "45")
        self.assertEqual(self.value("vsPeriod", 999), 45)

    def test_pasted_text_is_corrected(self):
        b = self.bench
        b.click_control("opt(1)")
        poll(lambda: b.control("txtHour")["enabled"], 3)
        for name, pasted, result in (("txtHour", "abc", "1"), ("txtMin", "xyz", "xyz"), ("txtPeriod", "5000", "999"),
                                     ("txtBlink", "-4", "1"), ("txtHour", "11:30", "11"), ("txtMin", "95", "59")):
            b.set_text(name, pasted)
            self.assertEqual(self.settles_on(name, result), result, (name, pasted))
        self.assertEqual(self.value("vsHour", 12), 11)

    def test_spinner_arrows_stop_at_the_ends(self):
        b = self.bench
        b.click_control("opt(1)")
        poll(lambda: b.control("vsHour")["enabled"], 3)
        for bar, box, top, bottom, clicks in (("vsHour", "txtHour", "12", "1", 14), ("vsMin", "txtMin", "59", "00", 62)):
            c = b.control(bar)
            x = c["sx"] + c["w"] // 2
            b.xdo("mousemove", x, c["sy"] + 3, "click", "--repeat", clicks, "--delay", "30", "1")
            self.assertEqual(self.settles_on(box, top), top, bar)
            b.xdo("mousemove", x, c["sy"] + c["h"] - 3, "click", "--repeat", clicks, "--delay", "30", "1")
            self.assertEqual(self.settles_on(box, bottom), bottom, bar)
        c = b.control("vsMin")
        b.xdo("mousemove", c["sx"] + c["w"] // 2, c["sy"] + 3, "click", "1")
        self.assertEqual(self.settles_on("txtMin", "01"), "01")
        c = b.control("vsPeriod")  # at its lower end: the down arrow changes nothing
        b.xdo("mousemove", c["sx"] + c["w"] // 2, c["sy"] + c["h"] - 3, "click", "1")
        self.assertEqual(self.settles_on("txtPeriod", "1"), "1")

    def test_options_switch_the_fields(self):
        b = self.bench
        b.set_text("txtPeriod", "42")
        b.click_control("opt(1)")
        clock = ("txtHour", "vsHour", "txtMin", "vsMin", "cmbT")
        countdown = ("txtPeriod", "vsPeriod", "cmbUnit")
        poll(lambda: b.control("txtHour")["enabled"], 3)
        c = b.controls()
        self.assertTrue(all(c[n]["enabled"] for n in clock))
        self.assertFalse(any(c[n]["enabled"] for n in countdown))
        b.click_control("opt(0)")
        poll(lambda: b.control("txtPeriod")["enabled"], 3)
        c = b.controls()
        self.assertFalse(any(c[n]["enabled"] for n in clock))
        self.assertTrue(all(c[n]["enabled"] for n in countdown))
        self.assertEqual(c["txtPeriod"]["text"], "42")
        b.click_control("chkBlink")
        poll(lambda: not b.control("txtBlink")["enabled"], 3)
        c = b.controls()
        self.assertFalse(c["txtBlink"]["enabled"] or c["vsBlink"]["enabled"])
        self.assertEqual(c["txtBlink"]["text"], "30")


if __name__ == "__main__":
    unittest.main(verbosity=2)
