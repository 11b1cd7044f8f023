#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using testing::Log;
using testing::MainFixture;

TEST(Visibility, EscHidesAndLeavesTheCodeAlone) {
    MainFixture f;
    f.Started();
    int16_t code = 27;
    f.form.Form_KeyPress(code);
    EXPECT_EQ(code, 27);
    EXPECT_FALSE(f.host.shown);
    code = 13;
    f.form.Form_KeyPress(code);
    EXPECT_EQ(f.log, (Log{"hide"}));
}

TEST(Visibility, OnlyADoubleClickAndARightClickOnTheIconAct) {
    MainFixture f;
    f.Started();
    f.Tray(515);  // WM_LBUTTONDBLCLK
    EXPECT_EQ(f.log, (Log{"show"}));
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
    f.Tray(515);
    EXPECT_EQ(f.log, (Log{"unload about", "show"}));
}

TEST(Visibility, CloseRequestsHideUntilExit) {
    MainFixture f;
    f.Started();
    EXPECT_EQ(f.form.Form_Unload(), UnloadDecision::StayHidden);
    EXPECT_EQ(f.log, (Log{"hide"}));
    EXPECT_TRUE(f.tray.calls.empty());
}

TEST(Visibility, ExitFromTheMenuDropsAnArmedSchedule) {
    MainFixture f;
    f.Started();
    f.Click();
    f.log.clear();
    f.host.choice = PopupChoice::Exit;
    f.Tray(517);
    EXPECT_EQ(f.log, (Log{"foreground", "popup", "unload", "tray 2"}));
    EXPECT_TRUE(f.host.unloaded);
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
    f.log.clear();
    f.form.Form_EndSession();
    EXPECT_EQ(f.log, (Log{"unload", "tray 2"}));
    EXPECT_TRUE(f.host.unloaded);
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
