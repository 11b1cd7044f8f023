// The balloon that warns, once per arming, when the blinking begins.
#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::MainFixture;

struct Balloon : ::testing::Test {
    MainFixture f;
    void SetUp() override { f.Started(); }
    void Arm(const char16_t* action, const char16_t* seconds, const char16_t* lead = u"5") {
        f.Arm({.action = action, .amount = seconds, .lead = lead});
    }
    void Tick(int seconds) {  // a second of ticks, then the clock moves on
        f.TimerTick();
        f.TimerTick();
        f.Advance(seconds);
    }
};

TEST_F(Balloon, OnceWhenTheBlinkingBeginsWithTheSecondsLeftAndTheAction) {
    for (const char16_t* action : {u"关机", u"重新启动", u"注销", u"挂起", u"睡眠", u"锁定计算机"}) {
        MainFixture g;
        g.Started();
        g.Arm({.action = action, .amount = u"8", .lead = u"5"});
        for (int i = 0; i < 7; ++i) {  // 8 seconds left down to 2, two ticks each
            g.TimerTick();
            g.TimerTick();
            g.Advance(1);
        }
        ASSERT_EQ(g.tray.balloons.size(), 1u) << testing::Narrow(action);
        EXPECT_EQ(g.tray.BalloonText(0), "5 秒后执行" + testing::Narrow(action) + "。单击这里打开窗口可以取消。");
    }
}

TEST_F(Balloon, ACountdownShorterThanTheLeadWarnsOnItsFirstTick) {
    Arm(u"关机", u"3", u"30");
    EXPECT_TRUE(f.tray.balloons.empty());  // arming itself shows nothing
    Tick(1);
    ASSERT_EQ(f.tray.balloons.size(), 1u);
    EXPECT_EQ(f.tray.BalloonText(0), "3 秒后执行关机。单击这里打开窗口可以取消。");
}

TEST_F(Balloon, AgainAfterDisarmingAndArmingAgainButNeverWithoutBlinking) {
    Arm(u"关机", u"3");
    Tick(1);
    f.Click();
    f.Click();
    Tick(1);
    EXPECT_EQ(f.tray.balloons.size(), 2u);
    f.Click();
    Arm(u"关机", u"3", nullptr);
    Tick(1);
    Tick(1);
    EXPECT_EQ(f.tray.balloons.size(), 2u);
}

TEST_F(Balloon, NotWhereTheShellIsOlderThanVersion5) {
    f.tray.shellVersion = 4;
    Arm(u"关机", u"3");
    Tick(1);
    EXPECT_TRUE(f.tray.balloons.empty());
    EXPECT_EQ(f.tray.calls.size(), 3u);  // the arming, then the blink steps as before
}

TEST_F(Balloon, ItsAnsiRecordIsTheShellsVersion5FormWithTheIconsIdentity) {
    Arm(u"关机", u"3");
    Tick(1);
    const auto& balloon = f.tray.balloons.at(0);
    const BalloonBytes b = BalloonForm(balloon.nid, balloon.title, balloon.text, f.tray.gbk);
    auto u32 = [&](size_t at) {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    };
    EXPECT_EQ(u32(0), 488u);
    EXPECT_EQ(u32(4), 0x1234u);   // the window
    EXPECT_EQ(u32(8), 1u);        // the icon's id
    EXPECT_EQ(u32(12), 0x10u);    // NIF_INFO alone: icon and tip stay
    EXPECT_EQ(u32(16), 0x8001u);  // the callback message
    EXPECT_EQ(u32(416), 10000u);  // uTimeout
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 420)), "Dusklet");  // szInfoTitle
    EXPECT_EQ(u32(484), 2u);                                                           // NIIF_WARNING
}

TEST_F(Balloon, TheBalloonClickBringsTheWindowWithTheFocusOnTheButton) {
    Arm(u"关机", u"60");
    f.host.shown = false;
    f.host.aboutOpen = true;
    f.log.clear();
    f.Tray(0x405);  // NIN_BALLOONUSERCLICK
    EXPECT_FALSE(f.host.aboutOpen);
    EXPECT_TRUE(f.host.shown);
    EXPECT_EQ(f.log.back(), "foreground");
    EXPECT_TRUE(f.get<cmdTimer>().focused);
    f.Click();  // what Enter on the button does
    EXPECT_FALSE(f.form.Armed());
}

TEST_F(Balloon, ABalloonClickedAfterTheScheduleEndedPutsTheFocusWhereEnterCannotArm) {
    Arm(u"关机", u"60");
    f.Click();  // disarmed while the shell still holds the balloon
    f.host.shown = false;
    f.log.clear();
    f.Tray(0x405);  // NIN_BALLOONUSERCLICK
    EXPECT_TRUE(f.host.shown);
    EXPECT_FALSE(f.get<cmdTimer>().focused);  // Enter must not arm it again
    EXPECT_TRUE(f.get<cmbAction>().focused);
}

// Every way a schedule ends without its action takes its balloon away, once;
// a schedule that never showed one sends nothing.
TEST_F(Balloon, EveryEndWithoutTheActionWithdrawsTheBalloonOnce) {
    for (const testing::ScheduleEnd& end : testing::kScheduleEnds) {
        for (bool shown : {true, false}) {
            MainFixture g;
            testing::ArmOneMinuteLock(g, shown ? u"60" : nullptr);
            g.TimerTick();
            ASSERT_EQ(g.tray.balloons.size(), shown ? 1u : 0u);
            end.end(g);
            const int withdrawn = shown && !end.withTheAction ? 1 : 0;
            EXPECT_EQ(g.tray.withdrawals, withdrawn) << end.name;
            if (end.withTheAction) continue;  // the program has ended
            g.Click();                        // armed again (or not), then disarmed: no second withdrawal
            if (g.form.Armed()) g.Click();
            EXPECT_EQ(g.tray.withdrawals, withdrawn) << end.name;
        }
    }
}

TEST_F(Balloon, TheActionCarriedOutLeavesTheBalloonToGoWithTheIcon) {
    Arm(u"关机", u"3");
    Tick(3);
    f.TimerTick();
    EXPECT_TRUE(f.Ended());
    EXPECT_EQ(f.tray.withdrawals, 0);
}

}  // namespace
}  // namespace dusklet
