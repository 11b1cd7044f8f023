// The warning panel, its sound, and "not yet".
#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using testing::MainFixture;

constexpr uint32_t kRightClick = 0x205;  // WM_RBUTTONUP

struct Warning : ::testing::Test {
    MainFixture f;
    void SetUp() override { f.Started(); }
    void Ticks(int seconds) {  // two ticks a second
        for (int i = 0; i < seconds; ++i) {
            f.TimerTick();
            f.TimerTick();
            f.Advance(1);
        }
    }
};

TEST_F(Warning, ThePanelShowsTheLiveCountdownFromTheStartOfTheWarningWithASound) {
    f.Arm({.action = u"重新启动", .amount = u"8", .lead = u"5"});
    Ticks(3);
    EXPECT_FALSE(f.host.panel);
    f.TimerTick();
    EXPECT_EQ(f.host.panel, u"5 秒后执行重新启动");
    EXPECT_EQ(f.host.beeps, 1);
    Ticks(2);
    EXPECT_EQ(f.host.panel, u"4 秒后执行重新启动");
    EXPECT_EQ(f.host.panelsShown, 1);
    EXPECT_EQ(f.host.beeps, 1);  // notifications are not held back: one sound
}

TEST_F(Warning, AfterAResumeToo) {
    f.Arm({.amount = u"600", .lead = nullptr});
    f.Suspend();
    f.Advance(7200);
    f.Resume();
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
}

TEST_F(Warning, ThePanelGoesOnEveryEndOnce) {
    for (const testing::ScheduleEnd& end : testing::kScheduleEnds) {
        MainFixture g;
        testing::ArmOneMinuteLock(g, u"60");
        g.TimerTick();
        ASSERT_TRUE(g.host.panel) << end.name;
        end.end(g);
        EXPECT_FALSE(g.host.panel) << end.name;
        EXPECT_EQ(g.host.panelsClosed, 1) << end.name;
    }
}

TEST_F(Warning, PostponeMovesTheActionTenMinutesOnAndWarnsAgainBeforeIt) {
    f.host.shown = false;
    f.Arm({.amount = u"60", .lead = u"30"});
    const int64_t due = *f.form.Due();
    f.Advance(40);
    f.Wake();  // the warning: panel, balloon, blinking
    ASSERT_EQ(f.tray.LastIcon(), 0u);
    f.form.On({MainEvent::Kind::Postpone});
    EXPECT_EQ(*f.form.Due(), due + 600);
    EXPECT_FALSE(f.host.panel);
    EXPECT_EQ(f.tray.withdrawals, 1);
    EXPECT_EQ(f.tray.LastIcon(), 0x777u);  // blinking over
    EXPECT_EQ(f.Tip(), u"程序将要在2026/12/7 10:26:42执行关机");
    EXPECT_EQ(f.Strip(), u"620 秒后执行");
    EXPECT_EQ(f.deadline.aimed, due + 600 - 30);  // and no tick meanwhile
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.deadline.log.back(), "wake at " + std::to_string(due + 570));  // still kept awake: no "may sleep"
    f.Advance(600 - 30 + 20);
    f.Wake();
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    EXPECT_EQ(f.tray.balloons.size(), 2u);
    EXPECT_FALSE(f.Ended());
    // Postponed once the due moment has passed (a look had not come yet): from now.
    f.Advance(100);
    f.form.On({MainEvent::Kind::Postpone});
    EXPECT_EQ(f.SecondsToDue(), 600);
}

TEST_F(Warning, TheMenuOffersPostponeOnlyWhileArmedAndItsChoicePostpones) {
    f.host.choice = PopupChoice::Postpone;
    f.Tray(kRightClick);
    EXPECT_EQ(f.host.postponeOffered, false);
    f.Arm({.amount = u"60"});
    const int64_t due = *f.form.Due();
    f.Tray(kRightClick);
    EXPECT_EQ(f.host.postponeOffered, true);
    EXPECT_EQ(*f.form.Due(), due + 600);
}

TEST_F(Warning, TheCancelButtonDisarmsAndNothingElse) {
    f.form.On({MainEvent::Kind::Cancel});  // disarmed already: it arms nothing
    EXPECT_FALSE(f.form.Armed());
    f.Arm({.amount = u"5"});
    f.TimerTick();
    f.form.On({MainEvent::Kind::Cancel});
    EXPECT_FALSE(f.form.Armed());
    EXPECT_FALSE(f.host.panel);
    EXPECT_EQ(f.tray.withdrawals, 1);
}

TEST_F(Warning, TheSoundComesAgainTenSecondsBeforeOnlyWhereNotificationsAreHeldBack) {
    for (bool heldBack : {false, true}) {
        MainFixture g;
        g.Started();
        g.host.notificationsHeldBack = heldBack;
        g.Arm({.amount = u"40", .lead = u"30"});
        for (int i = 0; i < 39; ++i) {
            g.TimerTick();
            g.Advance(1);
        }
        EXPECT_EQ(g.host.beeps, heldBack ? 2 : 1) << heldBack;
    }
    // A warning that begins within those 10 seconds sounds once.
    f.host.notificationsHeldBack = true;
    f.Arm({.amount = u"8", .lead = u"30"});
    Ticks(7);
    EXPECT_EQ(f.host.beeps, 1);
}

}  // namespace
}  // namespace dusklet
