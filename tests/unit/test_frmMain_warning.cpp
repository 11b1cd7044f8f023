// The warning panel, its sound, and "not yet".
#include <gtest/gtest.h>

#include <tuple>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using testing::MainFixture;

struct Warning : ::testing::Test {
    MainFixture f;
    void SetUp() override { f.Started(); }
    void Ticks(MainFixture& g, int seconds) {  // two ticks a second
        for (int i = 0; i < 2 * seconds; ++i) {
            g.TimerTick();
            if (i % 2) g.Advance(1);
        }
    }
};

TEST_F(Warning, ThePanelShowsTheLiveCountdownFromTheStartOfEveryWarningWithASound) {
    f.Arm({.action = u"重新启动", .amount = u"8", .lead = u"5"});
    Ticks(f, 3);
    EXPECT_FALSE(f.host.panel);
    Ticks(f, 2);
    EXPECT_EQ(f.host.panel, u"4 秒后执行重新启动");
    EXPECT_EQ(f.host.panelsShown, 1);
    EXPECT_EQ(f.host.beeps, 1);  // notifications are not held back: one sound
    MainFixture g;               // the warning after a resume
    g.Started();
    g.Arm({.amount = u"600", .lead = nullptr});
    g.Suspend();
    g.Advance(7200);
    g.Resume();
    EXPECT_EQ(g.host.panel, u"30 秒后执行关机");
}

TEST_F(Warning, ThePanelGoesOnEveryEndOnceAndCancelDisarms) {
    for (const testing::ScheduleEnd& end : testing::kScheduleEnds) {
        MainFixture g;
        testing::ArmOneMinuteLock(g, u"60");
        g.TimerTick();
        ASSERT_TRUE(g.host.panel) << end.name;
        end.end(g);
        EXPECT_EQ(std::pair(g.host.panel.has_value(), g.host.panelsClosed), std::pair(false, 1)) << end.name;
    }
    f.form.On({MainEvent::Kind::Cancel});  // disarmed already: it arms nothing
    EXPECT_FALSE(f.form.Armed());
    f.Arm({.amount = u"5"});
    f.TimerTick();
    f.form.On({MainEvent::Kind::Cancel});
    EXPECT_FALSE(f.form.Armed() || f.host.panel);
}

TEST_F(Warning, PostponeMovesTheActionTenMinutesOnAndWarnsAgainBeforeIt) {
    f.host.shown = false;
    f.Arm({.amount = u"60", .lead = u"30"});
    const int64_t due = *f.form.Due();
    f.Advance(30);
    f.Wake();  // the warning: panel, balloon, blinking
    f.Advance(10);
    ASSERT_EQ(f.tray.LastIcon(), 0u);
    f.form.On({MainEvent::Kind::Postpone});
    EXPECT_EQ(*f.form.Due(), due + 600);
    EXPECT_FALSE(f.host.panel);
    EXPECT_EQ(f.tray.withdrawals, 1);
    EXPECT_EQ(f.tray.LastIcon(), 0x777u);  // blinking over
    EXPECT_EQ(f.Tip(), u"程序将要在2026/12/7 10:26:42执行关机");
    EXPECT_EQ(f.Strip(), u"620 秒后执行");
    EXPECT_EQ(f.deadline.aimed, due + 570);  // and no tick meanwhile
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(std::count(f.deadline.log.begin(), f.deadline.log.end(), "may sleep"), 0);
    f.Advance(590);
    f.Wake();
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    EXPECT_EQ(f.tray.balloons.size(), 2u);
    f.Advance(100);  // postponed once the due moment has passed (a look had not come yet): from now
    f.form.On({MainEvent::Kind::Postpone});
    EXPECT_EQ(f.SecondsToDue(), 600);
    EXPECT_FALSE(f.Ended());
}

// The warning that a resume (or a condition met) gives is owed again after
// "not yet", blinking or not: the action never comes unannounced.
TEST_F(Warning, PostponedAfterAResumeTheWarningComesAgainWithBlinkingOff) {
    f.Arm({.amount = u"600", .lead = nullptr});
    f.Suspend();
    f.Advance(7200);
    f.Resume();
    ASSERT_EQ(f.host.panel, u"30 秒后执行关机");
    f.form.On({MainEvent::Kind::Postpone});
    EXPECT_FALSE(f.host.panel);
    f.Pass(600);
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    EXPECT_EQ(f.tray.balloons.size(), 2u);
    EXPECT_TRUE(f.PowerCalls().empty());
    f.Pass(30);
    EXPECT_EQ(f.PowerCalls().size(), 1u);
}

TEST_F(Warning, PostponeInClockModePutsTheNewTimeInTheBoxes) {
    f.SetLocal({2026, 12, 7, 17, 39, 50});
    f.Arm({.hour = u"5", .minute = u"40", .half = u"PM"});
    f.form.On({MainEvent::Kind::Postpone});
    EXPECT_EQ(f.DueLocal(), (CivilDateTime{2026, 12, 7, 17, 50, 0}));
    EXPECT_EQ(std::tuple(f.get<ctl::txtHour>().text, f.get<ctl::txtMin>().text, f.get<ctl::cmbT>().Text()),
              std::tuple(u"5", u"50", u"PM"));
    f.Click();  // disarmed and armed again: the time last promised
    f.Click();
    EXPECT_EQ(f.DueLocal(), (CivilDateTime{2026, 12, 7, 17, 50, 0}));
    f.TimeChange();  // and the wall time kept through a change of the time
    EXPECT_EQ(f.DueLocal(), (CivilDateTime{2026, 12, 7, 17, 50, 0}));
}

// The panel counts the seconds really left whatever the clock does, and
// screen readers hear it as it appears and at its last call.
TEST_F(Warning, ThePanelAlwaysTellsTheTruthAndIsHeard) {
    f.Arm({.amount = u"60", .lead = u"30"});
    f.Pass(46);  // 14 s left
    EXPECT_EQ(f.host.panel, u"14 秒后执行关机");
    EXPECT_EQ(f.host.alerts, 1);
    f.Advance(-60);  // the clock set back: out of the warning
    f.TimeChange();
    EXPECT_FALSE(f.host.panel);
    EXPECT_EQ(f.tray.LastIcon(), 0x777u);  // blinking over
    EXPECT_EQ(f.Strip(), u"74 秒后执行");
    f.Pass(44);  // it comes again at its time
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    f.Advance(300);  // forward past the due moment: a full warning again
    f.TimeChange();
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    f.Pass(20);
    EXPECT_EQ(f.host.alerts, 4);  // twice for each warning: as it appears and at its last call
    f.Pass(9);
    EXPECT_TRUE(f.PowerCalls().empty());
    f.Pass(1);
    EXPECT_EQ(f.PowerCalls().size(), 1u);
}

TEST_F(Warning, TheMenuOffersPostponeOnlyWhileArmed) {
    f.host.choice = PopupChoice::Postpone;
    f.Tray(0x205);  // WM_RBUTTONUP
    EXPECT_EQ(f.host.postponeOffered, false);
    f.Arm({.amount = u"60"});
    f.Tray(0x205);
    EXPECT_EQ(f.host.postponeOffered, true);
    EXPECT_EQ(f.SecondsToDue(), 660);
}

TEST_F(Warning, TheSoundComesAgainTenSecondsBeforeOnlyWhereNotificationsAreHeldBack) {
    const struct {
        bool heldBack;
        const char16_t* amount;
        int beeps;
    } cases[] = {{false, u"40", 1}, {true, u"40", 2}, {true, u"8", 1}};  // a warning begun within them: once
    for (const auto& c : cases) {
        MainFixture g;
        g.Started();
        g.host.notificationsHeldBack = c.heldBack;
        g.Arm({.amount = c.amount, .lead = u"30"});
        Ticks(g, 39);
        EXPECT_EQ(g.host.beeps, c.beeps) << c.heldBack << testing::Narrow(c.amount);
    }
}

}  // namespace
}  // namespace dusklet
