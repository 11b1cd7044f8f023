// The deadline through sleep: the machine kept awake while armed, a wake-up
// aimed instead of a tick while the program waits unseen, and a warning
// period, not the action, right after the machine wakes.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::Log;
using testing::MainFixture;

struct Sleep : ::testing::Test {
    MainFixture f;  // started at 10:15:42
    void SetUp() override { f.system.Set(2, 10, 0); }
    // Armed with these settings, then hidden in the tray.
    void Arm(const testing::Settings& settings, bool hidden = true) {
        f.Started();
        f.Arm(settings);
        if (hidden) f.Escape();
    }
    int64_t Due() const { return *f.form.Due(); }
};

TEST_F(Sleep, EveryWayTheScheduleEndsGivesBackTheRequestAndTheWakeUpOnce) {
    for (const testing::ScheduleEnd& end : testing::kScheduleEnds) {
        MainFixture g;
        testing::ArmOneMinuteLock(g, u"30");
        EXPECT_EQ(g.deadline.log.front(), "keep awake") << end.name;
        EXPECT_EQ(g.deadline.aimed, *g.form.Due() - 30) << end.name;  // the 30 s lead
        g.deadline.log.clear();
        end.end(g);
        std::erase_if(g.deadline.log, [](const std::string& line) { return line.rfind("wake at", 0) == 0; });
        EXPECT_EQ(g.deadline.log, (Log{"may sleep", "cancel wake"})) << end.name;
    }
}

TEST_F(Sleep, TheRequestIsTakenBackBeforeThePowerCall) {
    Arm({.amount = u"10", .lead = u"5"});
    f.deadline.shared = &f.log;
    f.Advance(10);
    f.Wake();
    ASSERT_TRUE(f.Ended());
    const auto at = [&](const std::string& line) { return std::find(f.log.begin(), f.log.end(), line); };
    ASSERT_NE(at("ExitWindowsEx 12 0x80000000"), f.log.end());
    EXPECT_LT(at("may sleep"), at("ExitWindowsEx 12 0x80000000"));
    EXPECT_LT(at("cancel wake"), at("ExitWindowsEx 12 0x80000000"));
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "may sleep"), 1);
}

TEST_F(Sleep, HiddenNoTickRunsAndTheWakeUpIsAimedAtTheWarningThenAtTheDueMoment) {
    Arm({.amount = u"60", .unit = u"分"});
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.deadline.aimed, Due() - 30);
    // The wake-up begins the warning period: from then on the tick runs, and
    // the wake-up is aimed at the due moment itself.
    f.Advance(3600 - 30);
    f.Wake();
    EXPECT_TRUE(f.timer.enabled);
    EXPECT_EQ(f.tray.balloons.size(), 1u);
    EXPECT_EQ(f.deadline.aimed, Due());
    f.Pass(30);
    EXPECT_TRUE(f.Ended());
    // Without blinking, the one wake-up is the due moment.
    MainFixture g;
    g.Started();
    g.host.shown = false;
    g.Arm({.amount = u"2", .unit = u"分", .lead = nullptr});
    EXPECT_FALSE(g.timer.enabled);
    EXPECT_EQ(g.deadline.aimed, g.clock.now + 120);
}

TEST_F(Sleep, ShowingTheWindowStartsTheTickWithTheCountdownAtOnce) {
    Arm({.amount = u"60", .unit = u"分"});
    f.Advance(100);
    f.Tray(0x203);  // a double click on the icon
    EXPECT_TRUE(f.timer.enabled);
    EXPECT_EQ(f.Strip(), u"3500 秒后执行");
    f.Escape();
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.form.Form_Unload(), UnloadDecision::StayHidden);  // the close button hides it too
    EXPECT_FALSE(f.timer.enabled);
}

TEST_F(Sleep, AChangeOfTheSystemTimeAimsTheWakeUpAfresh) {
    Arm({.amount = u"60", .unit = u"分"});
    f.deadline.log.clear();
    f.TimeChange();
    EXPECT_EQ(f.deadline.log, (Log{"wake at " + std::to_string(Due() - 30)}));
    f.Click();
    f.deadline.log.clear();
    f.TimeChange();  // disarmed: nothing to aim
    EXPECT_TRUE(f.deadline.log.empty());
}

TEST_F(Sleep, WhereTheProgramCannotBeWokenTheTickRunsAsBefore) {
    f.deadline.canWake = false;
    Arm({.amount = u"60", .unit = u"分"});
    EXPECT_TRUE(f.timer.enabled);
    EXPECT_EQ(f.deadline.log, (Log{"keep awake"}));
    MainFixture g;  // a wake-up that cannot be aimed
    g.deadline.wakes = false;
    g.Started();
    g.Arm({.amount = u"60", .unit = u"分"});
    g.Escape();
    EXPECT_TRUE(g.timer.enabled);
    g.Click();
    EXPECT_EQ(g.deadline.log.back(), "cancel wake");  // whatever it set is taken back
}

TEST_F(Sleep, AResumePastTheDueMomentWarnsForAtLeast30SecondsFirst) {
    for (const char16_t* lead : std::initializer_list<const char16_t*>{u"5", u"45", nullptr}) {
        MainFixture g;
        g.system.Set(2, 10, 0);
        g.Started();
        if (!lead) g.get<txtBlink>().Paste(u"999");  // what the greyed box holds counts for nothing
        g.Arm({.amount = u"600", .lead = lead});
        g.Suspend();
        g.Advance(7200);  // asleep past the due moment
        g.Resume();
        const int warning = lead && lead == std::u16string(u"45") ? 45 : 30;
        SCOPED_TRACE(warning);
        EXPECT_FALSE(g.Ended());
        ASSERT_EQ(g.tray.balloons.size(), 1u);
        EXPECT_EQ(g.tray.BalloonText(0), std::to_string(warning) + " 秒后执行关机。单击这里打开窗口可以取消。");
        EXPECT_TRUE(g.timer.enabled);  // blinking
        EXPECT_EQ(g.Tip().find(u"程序将要在2026/12/7 12:1"), 0u);
        g.Pass(warning - 1);
        EXPECT_FALSE(g.Ended());
        g.Pass(1);
        EXPECT_TRUE(g.Ended());
    }
}

TEST_F(Sleep, ADisarmDuringTheWarningAfterAResumeMeansNoAction) {
    Arm({.amount = u"60", .lead = u"5"});
    f.Suspend();
    f.Advance(120);
    f.Resume();
    f.Click();
    f.Advance(60);
    f.TimerTick();
    f.Wake();
    EXPECT_FALSE(f.Ended());
    EXPECT_TRUE(f.PowerCalls().empty());
}

TEST_F(Sleep, AResumeWellBeforeTheDueMomentChangesNothing) {
    Arm({.amount = u"60", .unit = u"分"});
    const int64_t due = Due();
    f.Suspend();
    f.Advance(600);
    f.Resume();
    EXPECT_EQ(Due(), due);
    EXPECT_TRUE(f.tray.balloons.empty());
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.deadline.aimed, due - 30);
}

// With the window open the tick runs on for a moment after the suspend
// notice; the first tick after the wake may come before the resume notice.
TEST_F(Sleep, TicksAroundTheSleepNeverUseUpTheWarning) {
    Arm({.amount = u"60", .lead = u"5"}, false);
    f.Suspend();
    for (int i = 0; i < 4; ++i) {  // two seconds of ticks before the machine sleeps
        f.TimerTick();
        f.Advance(i % 2);
    }
    EXPECT_EQ(f.tray.balloons.size(), 0u);
    f.Advance(300);
    f.TimerTick();  // before the system has said that it resumed
    f.Resume();     // then the notice: nothing more
    EXPECT_FALSE(f.Ended());
    ASSERT_EQ(f.tray.balloons.size(), 1u);
    EXPECT_EQ(f.tray.BalloonText(0), "30 秒后执行关机。单击这里打开窗口可以取消。");
    f.Pass(25);
    EXPECT_FALSE(f.Ended());
    EXPECT_EQ(f.Strip(), u"5 秒后执行");
}

// A tick that comes long after the wake-up aimed (the clock set forward
// with no word of it, the program held up) warns as after a resume.
TEST_F(Sleep, ATickLongAfterItsTimeWarnsFirst) {
    Arm({.amount = u"600", .lead = u"5"}, false);
    f.Advance(700);
    f.TimerTick();
    EXPECT_FALSE(f.Ended());
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    f.Pass(30);
    EXPECT_TRUE(f.Ended());
}

}  // namespace
}  // namespace dusklet
