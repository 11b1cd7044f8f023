#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using testing::Log;
using testing::MainFixture;

TEST(Visibility, EscHidesAndLeavesTheCodeAlone) {
    MainFixture f;
    f.Started();
    int16_t code = 13;
    f.form.Form_KeyPress(code);
    EXPECT_TRUE(f.host.shown);
    code = 27;
    f.form.Form_KeyPress(code);
    EXPECT_EQ(code, 27);
    EXPECT_FALSE(f.host.shown);
}

TEST(Visibility, OnlyADoubleClickAndARightClickOnTheIconAct) {
    MainFixture f;
    f.Started();
    f.host.shown = false;
    f.Tray(515);  // WM_LBUTTONDBLCLK
    EXPECT_TRUE(f.host.shown);
    f.log.clear();
    f.Tray(517);  // WM_RBUTTONUP
    EXPECT_EQ(f.log, (Log{"foreground", "popup"}));
    f.log.clear();
    for (int other : {512, 513, 514, 516, 518, 0, 251, 0x404}) f.Tray(static_cast<uint32_t>(other));
    EXPECT_TRUE(f.log.empty());
}

TEST(Visibility, DoubleClickClosesAboutFirst) {
    MainFixture f;
    f.Started();
    f.host.aboutOpen = true;
    f.host.shown = false;
    f.Tray(515);
    EXPECT_FALSE(f.host.aboutOpen);
    EXPECT_TRUE(f.host.shown);
}

TEST(Visibility, CloseRequestsHideUntilExit) {
    MainFixture f;
    f.Started();
    EXPECT_EQ(f.form.Form_Unload(), UnloadDecision::StayHidden);
    EXPECT_FALSE(f.host.shown);
    EXPECT_FALSE(f.Ended());
}

// The shell may refuse the icon (Explorer still starting at logon) or lose
// it without a word (restarted): the window is never hidden without the
// icon that leads back to it, and the icon is asked for until it is there.
TEST(TrayIcon, RefusedIsAskedForAgainAndTheWindowStaysUntilItIsThere) {
    MainFixture f;
    f.tray.accepts = false;
    f.form.Form_Initialize();
    f.Click();
    EXPECT_FALSE(f.form.TrayIconShown());
    EXPECT_EQ(f.host.retries, 2);  // at start-up and when arming changed the tooltip
    f.Escape();
    EXPECT_EQ(f.form.Form_Unload(), UnloadDecision::StayHidden);
    EXPECT_TRUE(f.host.shown);
    f.IconLost();  // the retry: still refused
    EXPECT_EQ(f.host.retries, 5);

    f.tray.accepts = true;
    f.IconLost();
    EXPECT_TRUE(f.tray.holds);
    EXPECT_EQ(f.tray.LastTip().rfind("\xB3\xCC\xD0\xF2", 0), 0u);  // "程序…", the armed tip
    f.Escape();
    EXPECT_FALSE(f.host.shown);
    f.TimerTick();
    EXPECT_EQ(f.host.retries, 5);  // taken: no more asking
}

TEST(TrayIcon, LostBehindTheProgramsBackComesBackBeforeHidingAndWhileBlinking) {
    MainFixture f;
    f.Started();
    f.tray.holds = false;
    f.Escape();
    EXPECT_TRUE(f.tray.holds);
    EXPECT_FALSE(f.host.shown);

    testing::Settings blink;
    blink.amount = u"40";
    f.Arm(blink);
    f.Advance(15);  // 25 s left: blinking
    f.TimerTick();
    const uint32_t before = f.tray.LastIcon();
    f.tray.holds = false;
    f.Advance(1);
    f.TimerTick();
    EXPECT_TRUE(f.tray.holds);
    EXPECT_EQ(f.tray.calls.back().first, 0u);  // added again
    EXPECT_NE(f.tray.LastIcon(), before);      // and blinking on
    EXPECT_EQ(f.host.retries, 0);
}

TEST(Visibility, ExitFromTheMenuDropsAnArmedSchedule) {
    MainFixture f;
    f.Started();
    f.Click();
    f.host.choice = PopupChoice::Exit;
    f.Tray(517);
    EXPECT_TRUE(f.Ended());
    EXPECT_EQ(f.tray.calls.back().first, 2u);  // the icon deleted
    EXPECT_TRUE(f.PowerCalls().empty());
}

TEST(Visibility, AboutFromTheMenu) {
    MainFixture f;
    f.Started();
    f.host.choice = PopupChoice::About;
    f.Tray(517);
    EXPECT_EQ(f.log, (Log{"foreground", "popup", "about"}));
}

TEST(Session, EndingTheSessionRemovesTheIconAndEnds) {
    MainFixture f;
    f.Started();
    f.Click();
    f.form.Form_EndSession();
    EXPECT_TRUE(f.Ended());
    EXPECT_EQ(f.tray.calls.back().first, 2u);
    EXPECT_TRUE(f.PowerCalls().empty());
}

// The icon loaded afresh at another size (another DPI, other icon sizes).
TEST(IconSize, TheTrayGetsTheNewIconAtOnceOnceTheIconIsThere) {
    MainFixture f;
    f.IconChanged(0x888);  // before start-up has added the icon: nothing to change
    EXPECT_TRUE(f.tray.calls.empty());
    f.form.Form_Initialize();
    EXPECT_EQ(f.tray.LastIcon(), 0x888u);
    f.tray.calls.clear();
    f.IconChanged(0x999);
    ASSERT_EQ(f.tray.calls.size(), 1u);
    EXPECT_EQ(f.tray.calls[0].first, 1u);  // NIM_MODIFY
    EXPECT_EQ(f.tray.LastIcon(), 0x999u);
    EXPECT_EQ(f.Tip(), u"没设置动作");
    f.IconLost();  // and a restarted shell gets that one
    EXPECT_EQ(f.tray.LastIcon(), 0x999u);
}

TEST(IconSize, WhileTheIconBlinksANewOneComesWithTheNextShowing) {
    MainFixture f;
    f.Started();
    f.Arm({.amount = u"60", .lead = u"30"});
    f.Advance(30);
    f.TimerTick();
    ASSERT_EQ(f.tray.LastIcon(), 0u);  // blank
    f.tray.calls.clear();
    f.IconChanged(0x888);
    EXPECT_TRUE(f.tray.calls.empty());  // stays blank
    f.TimerTick();
    EXPECT_EQ(f.tray.LastIcon(), 0x888u);
    f.IconChanged(0x999);  // while shown: at once
    EXPECT_EQ(f.tray.LastIcon(), 0x999u);
    f.TimerTick();
    EXPECT_EQ(f.tray.LastIcon(), 0u);  // the blinking goes on
    f.Click();
    EXPECT_EQ(f.tray.LastIcon(), 0x999u);  // disarmed: shown for good
}

TEST(Session, ShellRestartAddsTheIconAgainAsItIs) {
    MainFixture f;
    f.Started();
    f.Click();
    f.tray.calls.clear();
    f.IconLost();
    ASSERT_EQ(f.tray.calls.size(), 1u);
    EXPECT_EQ(f.tray.calls[0].first, 0u);
    EXPECT_EQ(f.tray.LastTip().rfind("\xB3\xCC\xD0\xF2", 0), 0u);  // "程序…", the armed tip
}

}  // namespace
}  // namespace dusklet
