"""Time across a daylight-saving change, on the real program. Wine takes a
zone's changes from the process's POSIX TZ rule, at the real date (the clock
preload cannot move them), so each test gives the program a zone whose clocks
change a few seconds after arming, in real time: forward an hour (spring) or
back an hour (autumn). A countdown must last its period in real time, a clock
time in the hour the clocks skip must act as they jump, and the wake-up must
be aimed at the UTC moment itself."""
import datetime
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, MAIN_TITLE, BenchTest, poll  # noqa: E402

UTC = datetime.timezone.utc
# A waitable timer's due time counts 100 ns steps from 1601.
SECONDS_FROM_1601_TO_1970 = 11644473600


def zone_changing_at(change, spring):
    """A POSIX TZ rule whose clocks go forward (spring) or back at `change`
    (UTC, a whole minute; Wine keeps only minutes), with the other change six
    months away: Wine misreads a rule whose two changes fall in one month.
    Standard time is UTC-5, or UTC+7 where the local date would turn near the
    change, so that the local day around it is an ordinary one."""
    standard = 5 if 2 <= (change.hour - 5) % 24 <= 21 else -7
    local = change - datetime.timedelta(hours=standard if spring else standard - 1)
    when = "M%d.%d.%d/%02d:%02d:00" % (local.month, (local.day - 1) // 7 + 1, (local.weekday() + 1) % 7,
                                        local.hour, local.minute)
    other = "M%d.1.0" % ((local.month + 5) % 12 + 1)
    return "XST%dXDT,%s,%s" % (standard, when, other) if spring else "XST%dXDT,%s,%s" % (standard, other, when)


def local_time(rule, moment):
    """The wall clock of zone `rule` at `moment`, as the C library reads the rule."""
    saved = os.environ.get("TZ")
    os.environ["TZ"] = rule
    time.tzset()
    try:
        return time.localtime(moment.timestamp())
    finally:
        if saved is None:
            del os.environ["TZ"]
        else:
            os.environ["TZ"] = saved
        time.tzset()


class ZoneChange(BenchTest):
    """The program started in a zone whose clocks change a moment later."""
    bench_options = {"relay": ["user32.ExitWindowsEx"], "version": "winxp"}

    def start_before_a_change(self, spring):
        """Starts the program in a zone whose clocks change at the next whole
        minute at least 15 s away; returns the change and the rule."""
        now = datetime.datetime.now(UTC)
        change = (now + datetime.timedelta(seconds=75)).replace(second=0, microsecond=0)
        rule = zone_changing_at(change, spring)
        self.proc = self.bench.start(env={"TZ": rule})
        return change, rule

    def arm(self):
        b = self.bench
        before = time.time()
        b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
        after = time.time()
        self.assertTrue(poll(lambda: b.text("cmdTimer") == "禁止定时器(&D)", 3))
        return before, after

    def acted_at(self, timeout):
        self.wait_gone(self.proc, timeout)
        acted = time.time()
        self.assertIn("ExitWindowsEx", [f.split(".")[-1] for f, _ in self.bench.relay_calls()])
        return acted



class Countdown(ZoneChange):
    def countdown_across(self, spring, hidden):
        b = self.bench
        change, rule = self.start_before_a_change(spring)
        seconds = int((change - datetime.datetime.now(UTC)).total_seconds()) + 10  # due 10 s after the change
        b.choose("cmbUnit", 2)  # 秒
        b.set_text("txtPeriod", str(seconds))
        if hidden:
            b.send(b.control("chkBlink")["hwnd"], BM_CLICK)  # no tick at all: the wake-up acts
        before, after = self.arm()  # the second of arming is one of theirs
        if hidden:
            b.xdo("key", "Escape")
            self.assertTrue(poll(lambda: not b.find(MAIN_TITLE), 3))
        else:
            # The tooltip gives the due moment as the wall clock will read it then.
            dues = {"%d:%02d:%02d" % local_time(rule, datetime.datetime.fromtimestamp(int(t) + seconds, UTC))[3:6]
                    for t in (before, after)}
            shown = re.search(r"(\d+):(\d\d):(\d\d)执行关机$", b.tray_tooltip() or "")
            self.assertTrue(shown)
            self.assertIn("%d:%s:%s" % (int(shown.group(1)), shown.group(2), shown.group(3)), dues)
        acted = self.acted_at(seconds + 10)
        self.assertGreater(acted, change.timestamp())
        # Due as the second `seconds` after the arming one begins; the call ends the
        # Wine session within a moment.
        self.assertGreaterEqual(acted, int(before) + seconds)
        self.assertLess(acted, int(after) + seconds + 1.5)

    def test_a_countdown_across_the_spring_change_lasts_its_period_window_shown(self):
        self.countdown_across(spring=True, hidden=False)

    def test_a_countdown_across_the_spring_change_lasts_its_period_hidden(self):
        self.countdown_across(spring=True, hidden=True)

    def test_a_countdown_across_the_autumn_change_lasts_its_period_window_shown(self):
        self.countdown_across(spring=False, hidden=False)

    def test_a_countdown_across_the_autumn_change_lasts_its_period_hidden(self):
        self.countdown_across(spring=False, hidden=True)



class SkippedHour(ZoneChange):
    bench_options = dict(ZoneChange.bench_options, server_trace=True)

    def test_a_clock_time_in_the_skipped_hour_acts_as_the_clocks_jump_and_wakes_the_machine_then(self):
        b = self.bench
        change, rule = self.start_before_a_change(spring=True)
        skipped = local_time(rule, change - datetime.timedelta(minutes=30))  # half an hour before the jump...
        wall = datetime.datetime(*skipped[:6]) + datetime.timedelta(hours=1)  # ...as the clocks would read it later
        b.click_control("opt(1)")
        self.assertTrue(poll(lambda: b.control("txtHour")["enabled"], 3))
        b.set_text("txtHour", str(wall.hour % 12 or 12))
        b.set_text("txtMin", "%02d" % wall.minute)
        b.choose("cmbT", 1 if wall.hour >= 12 else 0)
        b.send(b.control("chkBlink")["hwnd"], BM_CLICK)
        self.arm()
        b.xdo("key", "Escape")
        acted = self.acted_at(120)
        self.assertGreaterEqual(acted, change.timestamp())
        self.assertLess(acted - change.timestamp(), 1.5)
        # The waitable timer that would wake a sleeping machine: due at the jump.
        timers = b.server_requests("set_timer")
        self.assertTrue(timers, "no waitable timer was set")
        self.assertIn("expire=%x" % ((int(change.timestamp()) + SECONDS_FROM_1601_TO_1970) * 10**7), timers[-1])


if __name__ == "__main__":
    unittest.main(verbosity=2)
