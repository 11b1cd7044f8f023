#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;

using testing::Log;
using testing::MainFixture;

SerialDate At(int y, int mo, int d, int h, int mi, int s) { return FromCivil({y, mo, d, h, mi, s}); }

struct Schedule : ::testing::Test {
    MainFixture f;
    void SetUp() override { f.Started(); }
    void Countdown(const char16_t* action, const char16_t* amount, const char16_t* unit) {
        f.get<cmbAction>().Choose(action);
        f.get<txtPeriod>().Paste(amount);
        f.get<cmbUnit>().Choose(unit);
    }
    void ClockMode(const char16_t* hour, const char16_t* minute, const char16_t* half) {
        f.get<opt1>().Click();
        f.get<txtHour>().Paste(hour);
        f.get<txtMin>().Paste(minute);
        f.get<cmbT>().Choose(half);
    }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) f.TimerTick();
    }
    void Advance(int seconds) { f.clock.Set(AddUnits(f.clock.Serial(), TimeUnit::Seconds, seconds)); }
};

TEST_F(Schedule, ArmingLatchesTheSettingsAndTellsWhen) {
    Countdown(u"关机", u"1", u"分");
    f.Click();
    EXPECT_FALSE(f.get<frame>().enabled);
    EXPECT_EQ(f.get<cmdTimer>().caption, u"禁止定时器(&D)");
    EXPECT_EQ(f.get<lblStatus>().caption, u"定时禁止");  // the first tick writes the countdown
    EXPECT_EQ(f.form.Target(), At(2026, 12, 7, 10, 16, 42));
    EXPECT_EQ(TipText(f.form.TrayRecord()), u"程序将要在2026/12/7 10:16:42执行关机");
    EXPECT_EQ(f.log, (Log{"tray 1", "timer on"}));
    EXPECT_TRUE(f.form.TimerOn());
}

TEST_F(Schedule, DisarmingRestoresTheIdleState) {
    f.Click();
    f.log.clear();
    f.Click();
    EXPECT_TRUE(f.get<frame>().enabled);
    EXPECT_EQ(f.get<cmdTimer>().caption, u"激活定时器(&E)");
    EXPECT_EQ(f.get<lblStatus>().caption, u"定时器禁止");
    EXPECT_EQ(TipText(f.form.TrayRecord()), u"没设置动作");
    EXPECT_EQ(f.form.TrayRecord().hIcon, 0x777u);
    EXPECT_EQ(f.log, (Log{"tray 1", "timer off"}));
    EXPECT_FALSE(f.form.TimerOn());
}

TEST_F(Schedule, CountdownUnitsAndTheLongestAmount) {
    Countdown(u"关机", u"999", u"时");
    f.Click();
    EXPECT_EQ(SecondsBetween(f.clock.Serial(), f.form.Target()), 999 * 3600);
    f.Click();
    Countdown(u"关机", u"5", u"秒");
    f.Click();
    EXPECT_EQ(SecondsBetween(f.clock.Serial(), f.form.Target()), 5);
}

TEST_F(Schedule, ClockModeTodayOrTomorrow) {
    struct Case {
        int h, m, s;
        const char16_t *hour, *minute, *half;
        SerialDate due;
    };
    const Case cases[] = {
        {8, 30, 20, u"8", u"30", u"AM", At(2026, 12, 8, 8, 30, 0)},  // already past: tomorrow
        {8, 30, 0, u"8", u"30", u"AM", At(2026, 12, 7, 8, 30, 0)},   // exactly now: today
        {9, 0, 0, u"12", u"05", u"PM", At(2026, 12, 7, 12, 5, 0)},   // 12 PM is noon
        {9, 0, 0, u"12", u"00", u"AM", At(2026, 12, 8, 0, 0, 0)},    // 12 AM is midnight
        {9, 0, 0, u"11", u"", u"PM", At(2026, 12, 7, 23, 0, 0)},     // an empty minute is 0
    };
    for (const Case& c : cases) {
        MainFixture g;
        g.Started();
        g.clock.now = {2026, 12, 7, c.h, c.m, c.s};
        g.get<opt1>().Click();
        g.get<txtHour>().Paste(c.hour);
        g.get<txtMin>().text = c.minute;
        g.get<cmbT>().Choose(c.half);
        g.Click();
        EXPECT_EQ(g.form.Target(), c.due) << g.form.Target();
    }
}

TEST_F(Schedule, MidnightTargetShowsOnlyTheDate) {
    ClockMode(u"12", u"00", u"AM");
    f.Click();
    EXPECT_EQ(TipText(f.form.TrayRecord()), u"程序将要在2026/12/8执行关机");
}

TEST_F(Schedule, PastedTextBehindTheNumbersStillArms) {
    f.get<opt1>().Click();
    f.get<txtHour>().text = u"9x";
    f.get<txtMin>().text = u"15 分钟";
    f.Click();
    EXPECT_EQ(f.form.Target(), At(2026, 12, 8, 9, 15, 0));
}

TEST_F(Schedule, TickCountsDownAndFiresTheChosenAction) {
    Countdown(u"重新启动", u"2", u"秒");
    f.Click();
    f.log.clear();
    Tick();
    EXPECT_EQ(f.get<lblStatus>().caption, u"2 秒后执行");
    Advance(1);
    Tick();
    EXPECT_EQ(f.get<lblStatus>().caption, u"1 秒后执行");
    Advance(1);
    Tick();
    EXPECT_EQ(f.get<lblStatus>().caption, u"0 秒后执行");
    EXPECT_TRUE(f.form.Quitting());
    EXPECT_TRUE(f.host.unloaded);
    // Blinking was on (30 s lead): the balloon as it begins, three blink steps,
    // then the power call, then the icon goes.
    const Log expected = {"balloon 2 秒后执行重新启动。单击这里打开窗口可以取消。",
                          "tray 1",
                          "tray 1",
                          "tray 1",
                          "GetVersionExA",
                          "privilege on",
                          "ExitWindowsEx 6 0",
                          "privilege off",
                          "unload",
                          "tray 2"};
    EXPECT_EQ(f.log, expected);
}

TEST_F(Schedule, TheStripIsWrittenOnceASecondWithTheSecondsLeft) {
    Countdown(u"关机", u"3", u"秒");
    f.Click();
    auto& strip = f.get<lblStatus>();
    std::vector<std::pair<std::u16string, int>> seen;
    for (int tick = 0; tick < 6; ++tick) {
        const int before = strip.writes;
        Tick();
        seen.emplace_back(strip.caption, strip.writes - before);
        if (tick % 2 == 1) Advance(1);
    }
    const std::vector<std::pair<std::u16string, int>> expected = {{u"3 秒后执行", 1}, {u"3 秒后执行", 0},
                                                                  {u"2 秒后执行", 1}, {u"2 秒后执行", 0},
                                                                  {u"1 秒后执行", 1}, {u"1 秒后执行", 0}};
    EXPECT_EQ(seen, expected);
}

TEST_F(Schedule, AfterDisarmingTheFirstTickWritesTheCountdownEvenIfItsNumberIsTheSame) {
    Countdown(u"关机", u"3", u"秒");
    f.Click();
    Tick();
    f.Click();
    f.Click();  // armed again at the same second: 3 seconds left again
    Tick();
    EXPECT_EQ(f.get<lblStatus>().caption, u"3 秒后执行");
}

TEST_F(Schedule, EachActionLabelCallsItsOperation) {
    struct Case {
        const char16_t* label;
        bool force;
        const char* call;
    };
    const Case cases[] = {{u"关机", true, "ExitWindowsEx 12 0"},     {u"关机", false, "ExitWindowsEx 8 0"},
                          {u"注销", true, "ExitWindowsEx 4 0"},      {u"挂起", true, "SetSuspendState 0 1 0"},
                          {u"睡眠", false, "SetSuspendState 1 0 0"}, {u"锁定计算机", true, "LockWorkStation"}};
    for (const Case& c : cases) {
        MainFixture g;
        g.system.Set(2, 5, 1);
        g.Started();
        g.get<cmbAction>().Choose(c.label);
        if (!c.force) g.get<chkForce>().Click();
        g.get<txtPeriod>().Paste(u"1");
        g.get<cmbUnit>().Choose(u"秒");
        g.Click();
        g.clock.Set(AddUnits(g.clock.Serial(), TimeUnit::Seconds, 1));
        g.TimerTick();
        EXPECT_NE(std::find(g.log.begin(), g.log.end(), c.call), g.log.end()) << testing::Narrow(c.label);
        EXPECT_TRUE(g.host.unloaded);
    }
}

TEST_F(Schedule, BlinksOnlyWithinTheLeadTime) {
    Countdown(u"关机", u"60", u"秒");
    f.Click();
    f.tray.calls.clear();
    std::vector<uint32_t> icons;
    for (int left = 60; left > 27; --left) {
        Tick();
        if (!f.tray.calls.empty()) icons.push_back(f.tray.LastIcon());
        f.tray.calls.clear();
        Advance(1);
    }
    // 30, 29 and 28 seconds left: blank, shown, blank.
    EXPECT_EQ(icons, (std::vector<uint32_t>{0, 0x777, 0}));
}

TEST_F(Schedule, TheBlinkLeadIsTheBoxsNumberRoundedNotCut) {
    f.get<vsBlink>().SetValue(5);
    f.get<txtBlink>().Paste(u"4.6");  // the bar already holds 5: the text stays
    ASSERT_EQ(f.get<txtBlink>().text, u"4.6");
    Countdown(u"关机", u"6", u"秒");
    f.Click();
    f.tray.calls.clear();
    Tick();  // 6 seconds left: no blinking yet
    EXPECT_TRUE(f.tray.calls.empty());
    Advance(1);
    Tick();  // 5 left: within a lead of 5 (4.6 rounded), not of 4
    EXPECT_EQ(f.tray.calls.size(), 1u);
}

TEST_F(Schedule, NoBlinkingWhenTheBoxIsUnticked) {
    f.get<chkBlink>().Click();
    Countdown(u"关机", u"3", u"秒");
    f.Click();
    f.tray.calls.clear();
    Tick(4);
    EXPECT_TRUE(f.tray.calls.empty());
}

TEST_F(Schedule, TheIconFlagSurvivesDisarming) {
    Countdown(u"关机", u"10", u"秒");
    f.Click();
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

TEST_F(Schedule, LateTickFiresAtOnceAndAClockSetBackWaits) {
    Countdown(u"关机", u"10", u"分");
    f.Click();
    Advance(-3600);
    Tick();
    EXPECT_EQ(f.get<lblStatus>().caption, u"4200 秒后执行");
    EXPECT_FALSE(f.form.Quitting());
    Advance(3 * 3600);  // asleep past the due time
    Tick();
    EXPECT_EQ(f.get<lblStatus>().caption, u"-6600 秒后执行");
    EXPECT_TRUE(f.form.Quitting());
}

TEST_F(Schedule, DayOfTicksWithBlinkingStaysConsistent) {
    // A day of 500 ms ticks inside the blink lead time; the clock is set back
    // every quarter hour so that the schedule never comes due.
    Countdown(u"关机", u"999", u"秒");
    f.get<txtBlink>().Paste(u"999");
    f.Click();
    f.tray.calls.clear();
    size_t blinks = 0;
    for (int i = 1; i <= 172800; ++i) {
        Tick();
        blinks += f.tray.calls.size();
        f.tray.calls.clear();
        if (i % 2 == 0) Advance(1);
        if (i % 1800 == 0) Advance(-900);
    }
    EXPECT_EQ(blinks, 172800u);
    EXPECT_FALSE(f.form.Quitting());
    f.Click();
    EXPECT_EQ(f.tray.LastIcon(), 0x777u);
    EXPECT_EQ(TipText(f.form.TrayRecord()), u"没设置动作");
    EXPECT_EQ(f.get<lblStatus>().caption, u"定时器禁止");
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
                f.get<cmbAction>().Choose(action);
                f.get<cmbUnit>().Choose(unit);
                f.get<txtPeriod>().text = u"999";
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
