// A command line applied to the window: as the user would arm by hand.
#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::MainFixture;

uint32_t Apply(MainFixture& f, const char16_t* line) {
    const ParsedCommand parsed = ParseCommandLine(line);
    EXPECT_TRUE(parsed.error.empty()) << testing::Narrow(parsed.error);
    return f.form.Command(parsed.command);
}

TEST(Command, ArmsAsAClickWouldWithTheSettingsInTheWindow) {
    MainFixture byHand, byLine;
    for (MainFixture* f : {&byHand, &byLine}) {
        f->system.Set(2, 10, 0);
        f->Started();
        f->host.shown = false;
    }
    byHand.Arm({.action = u"重新启动", .amount = u"90", .unit = u"分", .lead = nullptr, .force = false});
    EXPECT_EQ(Apply(byLine, u"Dusklet.exe /r /t 90m /nw /nf"), exit_code::kDone);
    EXPECT_EQ(byLine.get<cmbAction>().Text(), u"重新启动");
    EXPECT_TRUE(byLine.get<opt0>().value);
    EXPECT_EQ(byLine.get<txtPeriod>().text, u"90");
    EXPECT_EQ(byLine.get<cmbUnit>().Text(), u"分");
    EXPECT_EQ(byLine.get<chkBlink>().value, 0);
    EXPECT_FALSE(byLine.get<txtBlink>().enabled);
    EXPECT_EQ(byLine.get<chkForce>().value, 0);
    EXPECT_EQ(byLine.form.Due(), byHand.form.Due());
    EXPECT_EQ(byLine.Tip(), byHand.Tip());
    EXPECT_EQ(byLine.deadline.aimed, byHand.deadline.aimed);
    EXPECT_FALSE(byLine.host.shown);  // it stays in the tray
    ASSERT_EQ(byLine.tray.balloons.size(), 1u);
    EXPECT_EQ(byLine.tray.balloons[0].text, byHand.Tip());  // what is armed now
    byLine.Advance(5400);
    byLine.Wake();
    EXPECT_EQ(byLine.PowerCalls(), testing::Log{"ExitWindowsEx 2 0x80000000"});
}

TEST(Command, AClockTimeOnThe24HourClockAndTheWindowShown) {
    MainFixture f;
    f.Started();
    f.host.shown = false;
    EXPECT_EQ(Apply(f, u"d /l /at 23:59 /w 5 /show"), exit_code::kDone);
    EXPECT_EQ(f.get<txtHour>().text, u"11");
    EXPECT_EQ(f.get<txtMin>().text, u"59");
    EXPECT_EQ(f.get<cmbT>().Text(), u"PM");
    EXPECT_EQ(f.get<txtBlink>().text, u"5");
    EXPECT_EQ(f.DueLocal(), (CivilDateTime{2026, 12, 7, 23, 59, 0}));
    EXPECT_TRUE(f.host.shown);
}

TEST(Command, AnArmingReplacesTheArmedScheduleCancelAndPostponeSpeakToIt) {
    MainFixture f;
    f.Started();
    f.Arm({.amount = u"10", .unit = u"分"});
    EXPECT_EQ(Apply(f, u"d /s /t 2h"), exit_code::kDone);
    EXPECT_EQ(f.SecondsToDue(), 7200);
    EXPECT_EQ(Apply(f, u"d /p 5"), exit_code::kDone);
    EXPECT_EQ(f.SecondsToDue(), 7500);
    EXPECT_EQ(Apply(f, u"d /a"), exit_code::kDone);
    EXPECT_FALSE(f.form.Armed());
    EXPECT_EQ(f.tray.withdrawals, 1);                // the balloon of the arming goes with it
    EXPECT_EQ(Apply(f, u"d /a"), exit_code::kDone);  // nothing armed: nothing to do
    EXPECT_EQ(Apply(f, u"d /p"), exit_code::kNoCopyRunning);
    EXPECT_TRUE(f.PowerCalls().empty());
}

TEST(Command, ARefusedActionArmsNothingAndSaysWhy) {
    for (const char16_t* line : {u"d /lock /t 5", u"d /standby /t 5"}) {
        MainFixture f;
        f.system.Set(1, 4, 10);  // Windows 98: no locking; no suspending on this machine
        f.system.suspendAllowed = false;
        f.Started();
        EXPECT_EQ(Apply(f, line), exit_code::kRefused);
        EXPECT_FALSE(f.form.Armed());
        ASSERT_EQ(f.Warnings().size(), 1u);
        EXPECT_EQ(f.Warnings()[0].rfind("无法执行", 0), 0u);
    }
}

TEST(Command, WhileAnotherEventIsHandledItIsAskedAgain) {
    MainFixture f;
    f.Started();
    f.tray.duringNextCall = [&] { EXPECT_EQ(Apply(f, u"d /s /t 5"), exit_code::kBusy); };
    f.Arm({.amount = u"60"});
    EXPECT_EQ(f.SecondsToDue(), 60);
}

}  // namespace
}  // namespace dusklet
