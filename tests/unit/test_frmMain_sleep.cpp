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

size_t Count(const Log& log, const std::string& line) {
    return static_cast<size_t>(std::count(log.begin(), log.end(), line));
}

struct Sleep : ::testing::Test {
    MainFixture f;  // started at 10:15:42
    void SetUp() override { f.system.Set(2, 10, 0); }
    // Armed for `seconds` with this blink lead, then hidden in the tray.
    void Arm(const char16_t* action, const char16_t* amount, const char16_t* lead, bool hidden = true,
             const char16_t* unit = u"秒") {
        f.Started();
        f.get<cmbAction>().Choose(action);
        f.get<cmbUnit>().Choose(unit);
        f.get<txtPeriod>().Paste(amount);
        f.get<txtBlink>().Paste(lead);
        f.Click();
        if (hidden) {
            int16_t escape = 27;
            f.form.Form_KeyPress(escape);
        }
    }
    void Advance(int seconds) { f.clock.Set(AddUnits(f.clock.Serial(), TimeUnit::Seconds, seconds)); }
    bool Fired() const { return f.host.unloaded; }
};

TEST_F(Sleep, EveryWayTheScheduleEndsGivesBackTheRequestAndTheWakeUpOnce) {
    for (const testing::ScheduleEnd& end : testing::kScheduleEnds) {
        MainFixture g;
        testing::ArmOneMinuteLock(g, u"30");
        EXPECT_EQ(g.deadline.log, (Log{"keep awake", "wake at 10:16:12"})) << end.name;  // the 30 s lead
        g.deadline.log.clear();
        end.end(g);
        EXPECT_EQ(g.deadline.log, (Log{"may sleep", "cancel wake"})) << end.name;
    }
}

TEST_F(Sleep, TheRequestIsTakenBackBeforeThePowerCall) {
    Arm(u"关机", u"10", u"5");
    f.deadline.shared = &f.log;
    Advance(10);
    f.Wake();
    ASSERT_TRUE(Fired());
    const auto at = [&](const std::string& line) { return std::find(f.log.begin(), f.log.end(), line); };
    ASSERT_NE(at("ExitWindowsEx 12 0"), f.log.end());
    EXPECT_LT(at("may sleep"), at("ExitWindowsEx 12 0"));
    EXPECT_LT(at("cancel wake"), at("ExitWindowsEx 12 0"));
    EXPECT_EQ(Count(f.log, "may sleep"), 1u);
}

TEST_F(Sleep, HiddenNoTickRunsAndTheWakeUpIsAimedAtTheWarning) {
    Arm(u"关机", u"60", u"30", true, u"分");
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.deadline.log.back(), "wake at 11:15:12");  // due 11:15:42, less the lead
    // The wake-up begins the warning period: from then on the tick runs, and
    // the wake-up is aimed at the due moment itself.
    Advance(3600 - 30);
    f.Wake();
    EXPECT_TRUE(f.timer.enabled);
    EXPECT_EQ(f.tray.balloons.size(), 1u);
    EXPECT_EQ(f.deadline.log.back(), "wake at 11:15:42");
    Advance(30);
    f.Wake();
    EXPECT_TRUE(Fired());
}

TEST_F(Sleep, WithoutBlinkingTheWakeUpIsAimedAtTheDueMoment) {
    f.Started();
    f.get<chkBlink>().Click();
    f.get<cmbUnit>().Choose(u"分");
    f.get<txtPeriod>().Paste(u"2");
    f.host.shown = false;
    f.Click();
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.deadline.log.back(), "wake at 10:17:42");
}

TEST_F(Sleep, ShowingTheWindowStartsTheTickWithTheCountdownAtOnce) {
    Arm(u"关机", u"60", u"30", true, u"分");
    Advance(100);
    f.Tray(0x203);  // a double click on the icon
    EXPECT_TRUE(f.timer.enabled);
    EXPECT_EQ(f.get<lblStatus>().caption, u"3500 秒后执行");
    int16_t escape = 27;
    f.form.Form_KeyPress(escape);
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.form.Form_Unload(), UnloadDecision::StayHidden);  // the close button hides it too
    EXPECT_FALSE(f.timer.enabled);
}

TEST_F(Sleep, AChangeOfTheSystemTimeAimsTheWakeUpAfresh) {
    Arm(u"关机", u"60", u"30", true, u"分");
    f.deadline.log.clear();
    f.TimeChange();
    EXPECT_EQ(f.deadline.log, (Log{"wake at 11:15:12"}));
    f.Click();
    f.deadline.log.clear();
    f.TimeChange();  // disarmed: nothing to aim
    EXPECT_TRUE(f.deadline.log.empty());
}

TEST_F(Sleep, WhereTheSystemCannotWakeTheProgramTheTickRunsAsBefore) {
    f.deadline.canWake = false;
    Arm(u"关机", u"60", u"30", true, u"分");
    EXPECT_TRUE(f.timer.enabled);
    EXPECT_EQ(f.deadline.log, (Log{"keep awake"}));
}

TEST_F(Sleep, AWakeUpThatCannotBeAimedKeepsTheTick) {
    f.deadline.wakes = false;
    Arm(u"关机", u"60", u"30", true, u"分");
    EXPECT_TRUE(f.timer.enabled);
    f.Click();
    EXPECT_EQ(f.deadline.log.back(), "cancel wake");  // whatever it set is taken back
}

TEST_F(Sleep, AResumePastTheDueMomentWarnsForAtLeast30SecondsFirst) {
    for (const char16_t* lead : {u"5", u"45"}) {
        MainFixture g;
        g.system.Set(2, 10, 0);
        g.Started();
        g.get<chkBlink>().Click();  // the warning comes after a resume even without blinking
        g.get<cmbUnit>().Choose(u"秒");
        g.get<txtPeriod>().Paste(u"600");
        g.get<txtBlink>().Paste(lead);
        g.Click();
        g.Suspend();
        g.clock.Set(AddUnits(g.clock.Serial(), TimeUnit::Seconds, 7200));  // asleep past the due moment
        g.Resume();
        const int warning = lead == std::u16string(u"5") ? 30 : 45;
        SCOPED_TRACE(warning);
        EXPECT_FALSE(g.host.unloaded);
        ASSERT_EQ(g.tray.balloons.size(), 1u);
        EXPECT_EQ(g.tray.BalloonText(0), std::to_string(warning) + " 秒后执行关机。单击这里打开窗口可以取消。");
        EXPECT_TRUE(g.timer.enabled);  // blinking
        EXPECT_EQ(TipText(g.form.TrayRecord()).find(u"程序将要在2026/12/7 12:1"), 0u);
        g.clock.Set(AddUnits(g.clock.Serial(), TimeUnit::Seconds, warning - 1));
        g.TimerTick();
        EXPECT_FALSE(g.host.unloaded);
        g.clock.Set(AddUnits(g.clock.Serial(), TimeUnit::Seconds, 1));
        g.TimerTick();
        EXPECT_TRUE(g.host.unloaded);
    }
}

TEST_F(Sleep, ADisarmDuringTheWarningAfterAResumeMeansNoAction) {
    Arm(u"关机", u"60", u"5");
    f.Suspend();
    Advance(120);
    f.Resume();
    f.Click();
    Advance(60);
    f.TimerTick();
    f.Wake();
    EXPECT_FALSE(Fired());
    EXPECT_EQ(Count(f.log, "ExitWindowsEx 12 0"), 0u);
}

TEST_F(Sleep, AResumeWellBeforeTheDueMomentChangesNothing) {
    Arm(u"关机", u"60", u"30", true, u"分");
    const SerialDate due = f.form.Target();
    f.Suspend();
    Advance(600);
    f.log.clear();
    f.Resume();
    EXPECT_EQ(f.form.Target(), due);
    EXPECT_TRUE(f.tray.balloons.empty());
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.deadline.log.back(), "wake at 11:15:12");
}

TEST_F(Sleep, ATickBetweenTheSuspendAndTheResumeNoticeDoesNotAct) {
    Arm(u"关机", u"60", u"5", false);
    f.Suspend();
    Advance(300);
    f.TimerTick();  // before the system has said that it resumed
    EXPECT_FALSE(Fired());
    EXPECT_EQ(f.tray.balloons.size(), 1u);
    f.Resume();  // then the notice: nothing more
    EXPECT_FALSE(Fired());
    EXPECT_EQ(f.tray.balloons.size(), 1u);
}

TEST_F(Sleep, TheClockSetForwardWithoutASleepActsAtOnceAsBefore) {
    Arm(u"关机", u"600", u"5", false);
    Advance(700);
    f.TimerTick();
    EXPECT_TRUE(Fired());
}

}  // namespace
}  // namespace dusklet
