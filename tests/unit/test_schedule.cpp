// The schedule on its own: which moment a clock time stands for, what a
// change of the zone does, and what a look finds around the machine's sleep.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/schedule.h"
#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

namespace zones = testing::zones;
using testing::Utc;
using Look = Schedule::Look;

TEST(ClockTime, TheNextTimeTheWallClockReadsIt) {
    struct Case {
        const char* what;
        ZoneRules rules;
        int64_t armed;
        int hour, minute;
        int64_t due;
    };
    const Case cases[] = {
        {"later today", zones::kChina, Utc(2026, 12, 7, 1, 0), 12, 5, Utc(2026, 12, 7, 4, 5)},
        {"past: tomorrow", zones::kChina, Utc(2026, 12, 7, 0, 30, 20), 8, 30, Utc(2026, 12, 8, 0, 30)},
        {"this very second: today", zones::kChina, Utc(2026, 12, 7, 0, 30), 8, 30, Utc(2026, 12, 7, 0, 30)},
        {"midnight: tomorrow's", zones::kChina, Utc(2026, 12, 7, 1, 0), 0, 0, Utc(2026, 12, 7, 16, 0)},
        // New York, on the nights the clocks change (armed at 01:00 local).
        {"skipped: when the clocks jump", zones::kNewYork, Utc(2026, 3, 8, 6, 0), 2, 30, Utc(2026, 3, 8, 7, 0)},
        {"after the jump", zones::kNewYork, Utc(2026, 3, 8, 6, 0), 4, 0, Utc(2026, 3, 8, 8, 0)},
        {"twice: the first", zones::kNewYork, Utc(2026, 11, 1, 4, 0), 1, 30, Utc(2026, 11, 1, 5, 30)},
        {"twice, armed between", zones::kNewYork, Utc(2026, 11, 1, 5, 45), 1, 30, Utc(2026, 11, 1, 6, 30)},
        {"across the change", zones::kNewYork, Utc(2026, 11, 1, 4, 0), 5, 0, Utc(2026, 11, 1, 10, 0)},
        {"Sydney's skipped hour", zones::kSydney, Utc(2026, 10, 3, 15, 0), 2, 30, Utc(2026, 10, 3, 16, 0)},
        {"Berlin, the day after its jump", zones::kBerlin, Utc(2026, 3, 29, 12, 0), 2, 30, Utc(2026, 3, 30, 0, 30)},
    };
    for (const Case& c : cases) {
        RulesZone zone(c.rules);
        EXPECT_EQ(Schedule::At(c.armed, zone, c.hour, c.minute, {}).Due(), c.due) << c.what;
    }
}

TEST(ClockTime, IsTheWallTimeChosenUnderTheZoneAsItIsNowACountdownIsNot) {
    testing::FakeZone zone;  // China
    const int64_t armed = Utc(2026, 12, 7, 2, 0);
    Schedule clock = Schedule::At(armed, zone, 12, 0, {});  // noon in China: 04:00 UTC
    Schedule countdown = Schedule::Countdown(armed, 7200, {});
    zone.rules = zones::kBerlin;  // the user moves to Berlin
    clock.TimeChanged(armed + 60, zone);
    countdown.TimeChanged(armed + 60, zone);
    EXPECT_EQ(clock.Due(), Utc(2026, 12, 7, 11, 0));  // noon that day in Berlin
    EXPECT_EQ(countdown.Due(), armed + 7200);
    // A clock set forward past the wall time warns first.
    zone.rules = zones::kChina;
    clock.TimeChanged(Utc(2026, 12, 7, 5, 0), zone);
    EXPECT_EQ(clock.LookAt(Utc(2026, 12, 7, 5, 0)), Look::Wait);
    EXPECT_EQ(clock.Due(), Utc(2026, 12, 7, 5, 0, 30));
}

TEST(ScheduleWarning, TheBlinkLeadThenTheWakeUpAtTheDueMoment) {
    Schedule s = Schedule::Countdown(0, 100, {true, 30});
    EXPECT_FALSE(s.InWarning(69));
    EXPECT_EQ(s.WakeMoment(0), 70);
    EXPECT_TRUE(s.InWarning(70));
    EXPECT_EQ(s.WakeMoment(70), 100);
    EXPECT_TRUE(s.TakeWarning(70));
    EXPECT_FALSE(s.TakeWarning(71));  // once
    Schedule quiet = Schedule::Countdown(0, 100, {false, 999});
    EXPECT_FALSE(quiet.InWarning(99));
    EXPECT_EQ(quiet.WakeMoment(0), 100);
    EXPECT_EQ(quiet.SecondsLeft(345), 0);  // never below nothing
}

// What the machine's sleep does, as events after a 600 s countdown armed at
// 0: "S" the suspend notice, "R7200" the resume notice at 7200, "T5" a tick
// at 5, "T1-2" ticks at 1 and 2. Then a tick every second: the first that
// acts must come at `acts`, the due moment then.
struct SleepCase {
    const char* what;
    WarningLead lead;
    const char* events;
    int64_t acts;
};

TEST(ScheduleSleep, AWakeNeverActsWithoutTheWarning) {
    const SleepCase cases[] = {
        {"asleep past the due moment: 30 s of warning", {true, 5}, "S R7200", 7230},
        {"the blink lead when longer", {true, 45}, "S R7200", 7245},
        {"30 s without blinking, whatever the box held", {false, 999}, "S R7200", 7230},
        {"woken well before: nothing moves", {true, 30}, "S R300", 600},
        {"ticks before the sleep, and the first after it before the notice", {true, 5}, "S T1-2 T7200", 7230},
        {"that tick, then the notice: one warning", {true, 5}, "S T7200 R7201", 7230},
        {"a warning begun before the sleep begins again after it", {true, 5}, "S T595-597 R9000", 9030},
        {"that warning, and the first tick after the sleep before the notice", {true, 5}, "S T595-597 T9000", 9030},
        {"a suspend that never comes to sleep costs at most the warning", {true, 5}, "S", 601},
    };
    for (const SleepCase& c : cases) {
        Schedule s = Schedule::Countdown(0, 600, c.lead);
        int64_t t = 0;
        for (const char* e = c.events; *e; e += *e == ' ') {
            const char kind = *e++;
            if (kind == 'S') {
                s.Suspend();
                continue;
            }
            char* end;
            t = std::strtoll(e, &end, 10);
            const int64_t last = *end == '-' ? std::strtoll(end + 1, &end, 10) : t;
            e = end;
            if (kind == 'R') s.Resume(t);
            for (; kind == 'T' && t <= last; ++t) s.LookAt(t);
            if (kind == 'T') --t;
        }
        while (t < c.acts + 60 && s.LookAt(++t) == Look::Wait) {
        }
        EXPECT_EQ(t, c.acts) << c.what;
        EXPECT_EQ(s.Due(), c.acts) << c.what;
    }
    // Without a sleep, a look past the due moment acts at once.
    Schedule s = Schedule::Countdown(0, 600, {true, 5});
    EXPECT_EQ(s.LookAt(700), Look::Act);
}

// A change of the system time while armed: the due moment 600 s ahead on the
// program's clock, a look every real second (the wake-up aimed after each, as
// the window does), and at real second `at` the clock set by `jump`, said by
// the system (WM_TIMECHANGE) or found by the next look. The action must come
// at real second `acts`, after a warning of at least `warning` seconds seen
// without a break.
struct ClockChange {
    const char* what;
    bool clockTime;
    WarningLead lead;
    int64_t at, jump;
    bool said;
    int64_t acts, warning;
};

TEST(ScheduleClockChange, NeverAnActionWithoutAFullWarning) {
    const ClockChange cases[] = {
        {"forward past the due moment", false, {true, 30}, 500, 300, true, 530, 30},
        {"the same, found by the next look", false, {true, 30}, 500, 300, false, 530, 30},
        {"forward into the warning", false, {true, 30}, 500, 90, true, 530, 30},
        {"forward, landing before the warning", false, {true, 30}, 500, 40, true, 560, 30},
        {"a running warning cut short", false, {true, 30}, 580, 15, true, 610, 40},
        {"the same, found by the next look", false, {true, 30}, 580, 15, false, 610, 40},
        {"back out of the warning: it comes again", false, {true, 30}, 580, -60, true, 660, 30},
        {"the same, found by the next look", false, {true, 30}, 580, -60, false, 660, 30},
        {"back within the warning", false, {true, 30}, 590, -10, true, 610, 40},
        {"a short lead: the warning after a resume", false, {true, 5}, 500, 97, true, 530, 30},
        {"a long lead is kept", false, {true, 60}, 500, 300, true, 560, 60},
        {"without blinking, into the last 30 s", false, {false, 30}, 500, 90, true, 530, 30},
        {"without blinking, found by the next look", false, {false, 30}, 500, 300, false, 530, 30},
        {"without blinking, back: nothing to warn", false, {false, 30}, 500, -60, true, 660, 0},
        {"a clock time, forward past it", true, {true, 30}, 500, 300, true, 530, 30},
        {"a clock time, back out of the warning", true, {true, 30}, 580, -60, true, 660, 30},
    };
    testing::FakeZone zone;  // China: 10:00 at the arming
    const int64_t armed = Utc(2026, 12, 7, 2, 0);
    for (const ClockChange& c : cases) {
        Schedule s = c.clockTime ? Schedule::At(armed, zone, 10, 10, c.lead) : Schedule::Countdown(armed, 600, c.lead);
        int64_t offset = 0, since = -1, r = 1;
        for (; r < 2000; ++r) {
            if (r == c.at) {
                offset = c.jump;
                if (c.said) s.TimeChanged(armed + r + offset, zone);
            }
            const int64_t now = armed + r + offset;
            const Look look = s.LookAt(now);
            s.Aim(s.WakeMoment(now));
            since = !s.InWarning(now) ? -1 : since < 0 ? r : since;
            if (look == Look::Act) break;
        }
        EXPECT_EQ(r, c.acts) << c.what;
        EXPECT_EQ(since < 0 ? 0 : r - since, c.warning) << c.what;
    }
}

}  // namespace
}  // namespace dusklet
