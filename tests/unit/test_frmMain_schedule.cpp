#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;

using testing::Log;
using testing::MainFixture;
namespace zones = testing::zones;

struct Schedule : ::testing::Test {
    MainFixture f;
    void SetUp() override { f.Started(); }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) f.TimerTick();
    }
};

TEST_F(Schedule, ArmingLatchesTheSettingsAndTellsWhen) {
    f.Arm({.amount = u"1", .unit = u"分"});
    EXPECT_FALSE(f.get<frame>().enabled);
    EXPECT_EQ(f.get<cmdTimer>().caption, u"禁止定时器(&D)");
    EXPECT_EQ(f.Strip(), u"定时禁止");  // the first tick writes the countdown
    EXPECT_EQ(f.SecondsToDue(), 60);
    EXPECT_EQ(f.Tip(), u"程序将要在2026/12/7 10:16:42执行关机");
    EXPECT_EQ(f.tray.calls.size(), 1u);  // the tooltip, once
    EXPECT_TRUE(f.timer.enabled);        // the window shows: it counts down
    EXPECT_TRUE(f.form.Armed());
}

TEST_F(Schedule, DisarmingRestoresTheIdleState) {
    f.Arm({});
    f.Click();
    EXPECT_TRUE(f.get<frame>().enabled);
    EXPECT_EQ(f.get<cmdTimer>().caption, u"激活定时器(&E)");
    EXPECT_EQ(f.Strip(), u"定时器禁止");
    EXPECT_EQ(f.Tip(), u"没设置动作");
    EXPECT_EQ(f.form.TrayRecord().hIcon, 0x777u);
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_FALSE(f.form.Armed());
}

TEST_F(Schedule, CountdownUnitsAndTheLongestAmount) {
    f.Arm({.amount = u"999", .unit = u"时"});
    EXPECT_EQ(f.SecondsToDue(), 999 * 3600);
    EXPECT_EQ(f.Tip(), u"程序将要在2027/1/18 1:15:42执行关机");  // 41 days and 15 hours on
    f.Click();
    f.Arm({.amount = u"5", .unit = u"秒"});
    EXPECT_EQ(f.SecondsToDue(), 5);
}

TEST_F(Schedule, ClockModeTodayOrTomorrow) {
    struct Case {
        CivilDateTime now;
        const char16_t *hour, *minute, *half;
        CivilDateTime due;
    };
    const Case cases[] = {
        {{2026, 12, 7, 8, 30, 20}, u"8", u"30", u"AM", {2026, 12, 8, 8, 30, 0}},      // already past: tomorrow
        {{2026, 12, 7, 8, 30, 0}, u"8", u"30", u"AM", {2026, 12, 7, 8, 30, 0}},       // exactly now: today
        {{2026, 12, 7, 9, 0, 0}, u"12", u"05", u"PM", {2026, 12, 7, 12, 5, 0}},       // 12 PM is noon
        {{2026, 12, 7, 9, 0, 0}, u"12", u"00", u"AM", {2026, 12, 8, 0, 0, 0}},        // 12 AM is midnight
        {{2026, 12, 7, 9, 0, 0}, u"11", u"", u"PM", {2026, 12, 7, 23, 0, 0}},         // an empty minute is 0
        {{2026, 12, 7, 9, 0, 0}, u"9x", u"15 分钟", u"AM", {2026, 12, 7, 9, 15, 0}},  // pasted text behind the numbers
    };
    for (const Case& c : cases) {
        MainFixture g;
        g.Started();
        g.SetLocal(c.now);
        g.Arm({.hour = c.hour, .minute = c.minute, .half = c.half});
        EXPECT_EQ(g.DueLocal(), c.due) << testing::Narrow(c.hour) << ":" << testing::Narrow(c.minute);
    }
}

TEST_F(Schedule, MidnightTargetShowsOnlyTheDate) {
    f.Arm({.hour = u"12", .minute = u"00", .half = u"AM"});
    EXPECT_EQ(f.Tip(), u"程序将要在2026/12/8执行关机");
}

// A user in New York arms at 01:00 on the nights the clocks change.
TEST_F(Schedule, AcrossDaylightSavingTheCountdownIsRealTimeAndTheClockTimeTheWallTime) {
    struct Case {
        const char* what;
        CivilDateTime armed;
        testing::Settings settings;
        int64_t seconds;  // of real time until the action
        const char16_t* tip;
    };
    const Case cases[] = {
        {"3 hours, spring",
         {2026, 3, 8, 1, 0, 0},
         {.amount = u"3", .unit = u"时"},
         3 * 3600,
         u"程序将要在2026/3/8 5:00:00执行关机"},
        {"3 hours, autumn",
         {2026, 11, 1, 1, 0, 0},
         {.amount = u"3", .unit = u"时"},
         3 * 3600,
         u"程序将要在2026/11/1 3:00:00执行关机"},
        {"02:30 in the skipped hour",
         {2026, 3, 8, 1, 0, 0},
         {.hour = u"2", .minute = u"30"},
         3600,
         u"程序将要在2026/3/8 3:00:00执行关机"},
        {"04:00 after the skipped hour",
         {2026, 3, 8, 1, 0, 0},
         {.hour = u"4", .minute = u"00"},
         7200,
         u"程序将要在2026/3/8 4:00:00执行关机"},
        {"01:30, which comes twice",
         {2026, 11, 1, 1, 0, 0},
         {.hour = u"1", .minute = u"30"},
         1800,
         u"程序将要在2026/11/1 1:30:00执行关机"},
        {"05:00 after the hour that comes twice",
         {2026, 11, 1, 1, 0, 0},
         {.hour = u"5", .minute = u"00"},
         5 * 3600,
         u"程序将要在2026/11/1 5:00:00执行关机"},
    };
    for (const Case& c : cases) {
        MainFixture g;
        g.zone.rules = zones::kNewYork;
        g.Started();
        g.SetLocal(c.armed);
        g.Arm(c.settings);
        EXPECT_EQ(g.Tip(), c.tip) << c.what;
        g.Pass(c.seconds - 1);
        EXPECT_FALSE(g.Ended()) << c.what;
        g.Pass(1);
        EXPECT_TRUE(g.Ended()) << c.what;
    }
}

TEST_F(Schedule, AZoneChangeMovesAClockTimeButNotACountdownAndRewritesTheTooltip) {
    f.Arm({.hour = u"12", .minute = u"00", .half = u"PM"});
    MainFixture g;
    g.Started();
    g.Arm({.amount = u"2", .unit = u"时"});
    for (MainFixture* h : {&f, &g}) {
        h->zone.rules = zones::kBerlin;  // 10:15:42 in China is 03:15:42 in Berlin
        h->TimeChange();
    }
    EXPECT_EQ(f.Tip(), u"程序将要在2026/12/7 12:00:00执行关机");  // noon in Berlin: 7 hours later
    EXPECT_EQ(f.SecondsToDue(), 8 * 3600 + 44 * 60 + 18);
    EXPECT_EQ(g.Tip(), u"程序将要在2026/12/7 5:15:42执行关机");  // the same moment, as Berlin reads it
    EXPECT_EQ(g.SecondsToDue(), 7200);
    EXPECT_EQ(f.tray.calls.back().first, 1u);  // the tooltip went to the shell
}

TEST_F(Schedule, TheWakeUpIsAimedAtTheMomentItself) {
    f.zone.rules = zones::kNewYork;
    f.SetLocal({2026, 3, 8, 1, 0, 0});
    f.host.shown = false;
    f.Arm({.amount = u"3", .unit = u"时", .lead = nullptr});
    EXPECT_EQ(f.deadline.aimed, f.clock.now + 3 * 3600);
}

TEST_F(Schedule, TickCountsDownAndFiresTheChosenAction) {
    f.Arm({.action = u"重新启动", .amount = u"2"});
    Tick();
    EXPECT_EQ(f.Strip(), u"2 秒后执行");
    f.Advance(1);
    Tick();
    EXPECT_EQ(f.Strip(), u"1 秒后执行");
    f.Advance(1);
    Tick();
    EXPECT_EQ(f.Strip(), u"0 秒后执行");
    EXPECT_TRUE(f.form.Quitting());
    EXPECT_TRUE(f.Ended());
    // The balloon as the blinking begins, then the power call between the
    // privilege's steps, then the icon goes.
    const Log expected = {"balloon 2 秒后执行重新启动。单击这里打开窗口可以取消。", "privilege on",
                          "ExitWindowsEx 6 0x80000000", "privilege off", "tray 2"};
    Log seen;
    for (const std::string& line : f.log)
        if (line.rfind("balloon", 0) == 0 || line.rfind("privilege", 0) == 0 || line.rfind("Exit", 0) == 0 ||
            line == "tray 2")
            seen.push_back(line);
    EXPECT_EQ(seen, expected);
}

TEST_F(Schedule, TheStripIsWrittenOnceASecondWithTheSecondsLeft) {
    f.Arm({.amount = u"3"});
    auto& strip = f.get<lblStatus>();
    std::vector<std::pair<std::u16string, int>> seen;
    for (int tick = 0; tick < 6; ++tick) {
        const int before = strip.writes;
        Tick();
        seen.emplace_back(strip.caption, strip.writes - before);
        if (tick % 2 == 1) f.Advance(1);
    }
    const std::vector<std::pair<std::u16string, int>> expected = {{u"3 秒后执行", 1}, {u"3 秒后执行", 0},
                                                                  {u"2 秒后执行", 1}, {u"2 秒后执行", 0},
                                                                  {u"1 秒后执行", 1}, {u"1 秒后执行", 0}};
    EXPECT_EQ(seen, expected);
}

TEST_F(Schedule, AfterDisarmingTheFirstTickWritesTheCountdownEvenIfItsNumberIsTheSame) {
    f.Arm({.amount = u"3"});
    Tick();
    f.Click();
    f.Click();  // armed again at the same second: 3 seconds left again
    Tick();
    EXPECT_EQ(f.Strip(), u"3 秒后执行");
}

TEST_F(Schedule, EachActionLabelCallsItsOperation) {
    struct Case {
        const char16_t* label;
        bool force;
        const char* call;
    };
    const Case cases[] = {
        {u"关机", true, "ExitWindowsEx 12 0x80000000"}, {u"关机", false, "ExitWindowsEx 8 0x80000000"},
        {u"注销", true, "ExitWindowsEx 4 0x80000000"},  {u"挂起", true, "SetSuspendState 0 1 0"},
        {u"睡眠", false, "SetSuspendState 1 0 0"},      {u"锁定计算机", true, "LockWorkStation"}};
    for (const Case& c : cases) {
        MainFixture g;
        g.system.Set(2, 5, 1);
        g.Started();
        g.Arm({.action = c.label, .force = c.force});
        g.Advance(1);
        g.TimerTick();
        EXPECT_EQ(g.PowerCalls(), Log{c.call}) << testing::Narrow(c.label);
        EXPECT_TRUE(g.Ended());
    }
}

TEST_F(Schedule, BlinksOnlyWithinTheLeadTime) {
    f.Arm({.amount = u"60"});
    f.tray.calls.clear();
    std::vector<uint32_t> icons;
    for (int left = 60; left > 27; --left) {
        Tick();
        if (!f.tray.calls.empty()) icons.push_back(f.tray.LastIcon());
        f.tray.calls.clear();
        f.Advance(1);
    }
    // 30, 29 and 28 seconds left: blank, shown, blank.
    EXPECT_EQ(icons, (std::vector<uint32_t>{0, 0x777, 0}));
}

TEST_F(Schedule, TheBlinkLeadIsTheBoxsNumberRoundedNotCut) {
    f.get<vsBlink>().SetValue(5);
    f.get<txtBlink>().Paste(u"4.6");  // the bar already holds 5: the text stays
    ASSERT_EQ(f.get<txtBlink>().text, u"4.6");
    f.Arm({.amount = u"6", .lead = u"4.6"});
    f.tray.calls.clear();
    Tick();  // 6 seconds left: no blinking yet
    EXPECT_TRUE(f.tray.calls.empty());
    f.Advance(1);
    Tick();  // 5 left: within a lead of 5 (4.6 rounded), not of 4
    EXPECT_EQ(f.tray.calls.size(), 1u);
}

TEST_F(Schedule, NoBlinkingWhenTheBoxIsUnticked) {
    f.Arm({.amount = u"3", .lead = nullptr});
    f.tray.calls.clear();
    Tick(4);
    EXPECT_TRUE(f.tray.calls.empty());
}

TEST_F(Schedule, TheIconFlagSurvivesDisarming) {
    f.Arm({.amount = u"10"});
    Tick();     // blanks
    f.Click();  // disarm: icon back
    EXPECT_EQ(f.tray.LastIcon(), 0x777u);
    f.Click();
    f.tray.calls.clear();
    Tick();  // the flag says blank: this step shows the icon
    EXPECT_EQ(f.tray.LastIcon(), 0x777u);
    Tick();
    EXPECT_EQ(f.tray.LastIcon(), 0u);
}

TEST_F(Schedule, AClockSetBackWaitsOneSetForwardPastTheDueTimeWarnsFirst) {
    f.Arm({.amount = u"10", .unit = u"分"});
    f.Advance(-3600);
    Tick();
    EXPECT_EQ(f.Strip(), u"4200 秒后执行");
    EXPECT_FALSE(f.form.Quitting());
    f.Advance(3 * 3600);  // the clock set forward past the due time
    Tick();
    EXPECT_EQ(f.Strip(), u"30 秒后执行");
    EXPECT_FALSE(f.form.Quitting());
    f.Pass(30);
    EXPECT_TRUE(f.form.Quitting());
}

TEST_F(Schedule, DayOfTicksWithBlinkingStaysConsistent) {
    // A day of 500 ms ticks inside the blink lead time; the clock is set back
    // every quarter hour so that the schedule never comes due.
    f.Arm({.amount = u"999", .lead = u"999"});
    f.tray.calls.clear();
    size_t blinks = 0;
    for (int i = 1; i <= 172800; ++i) {
        Tick();
        blinks += f.tray.calls.size();
        f.tray.calls.clear();
        if (i % 2 == 0) f.Advance(1);
        if (i % 1800 == 0) f.Advance(-900);
    }
    EXPECT_EQ(blinks, 172800u);
    EXPECT_FALSE(f.form.Quitting());
    f.Click();
    EXPECT_EQ(f.tray.LastIcon(), 0x777u);
    EXPECT_EQ(f.Tip(), u"没设置动作");
    EXPECT_EQ(f.Strip(), u"定时器禁止");
    EXPECT_FALSE(f.timer.enabled);
}

}  // namespace
}  // namespace dusklet

namespace dusklet {
namespace {

// The longest date and time forms a user can set (Chinese and wide).
struct LongFormat : DateTimeFormat {
    std::u16string ShortDate(const CivilDateTime&) override { return u"公元2026年12月31日 星期四"; }
    std::u16string LongTime(const CivilDateTime&) override { return u"下午 11时59分59秒"; }
};

bool IsValidGbk(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<uint8_t>(bytes[i]);
        if (lead < 0x80) continue;
        if (lead < 0x81 || lead > 0xFE || i + 1 >= bytes.size()) return false;
        const auto trail = static_cast<uint8_t>(bytes[++i]);
        if (trail < 0x40 || trail == 0x7F || trail > 0xFE) return false;
    }
    return true;
}

TEST(Tooltip, EveryActionAndUnitFitsAsWholeCharactersWithItsNul) {
    int cases = 0;
    for (const char16_t* action : {u"关机", u"重新启动", u"注销", u"挂起", u"睡眠", u"锁定计算机"}) {
        for (const char16_t* unit : {u"时", u"分", u"秒"}) {
            for (bool longForms : {false, true}) {
                testing::MainFixture f;
                f.system.Set(2, 5, 1);
                LongFormat wide;
                frmMain form(f.controls.Models(), f.timer,
                             f.Services(longForms ? static_cast<DateTimeFormat&>(wide) : f.format));
                f.host.form = &form;
                form.Form_Initialize();
                f.get<ctl::cmbAction>().Choose(action);
                f.get<ctl::cmbUnit>().Choose(unit);
                f.get<ctl::txtPeriod>().text = u"999";
                form.On({MainEvent::Kind::Click});
                const auto& bytes = f.tray.calls.back().second;
                const auto nul = std::find(bytes.begin() + 24, bytes.end(), 0);
                ASSERT_NE(nul, bytes.end());
                const std::string tip(bytes.begin() + 24, nul);
                EXPECT_LE(tip.size() + 1, 64u);
                EXPECT_TRUE(IsValidGbk(tip)) << testing::Narrow(action);
                EXPECT_EQ(tip.rfind("\xB3\xCC\xD0\xF2\xBD\xAB\xD2\xAA\xD4\xDA", 0), 0u);  // 程序将要在
                ++cases;
            }
        }
    }
    EXPECT_EQ(cases, 36);
}

}  // namespace
}  // namespace dusklet
