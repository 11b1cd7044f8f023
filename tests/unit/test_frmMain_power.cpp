// What each action does on each Windows version, and what the user sees when
// an action cannot be done.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/fakes.h"
#include "tests/unit/windows_versions.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::Log;
using testing::MainFixture;

using Version = testing::WindowsVersion;

struct Action {
    const char16_t* label;
    const char* call;  // the system call that performs it
    bool Version::*gate;
};

const Action kActions[] = {
    {u"关机", "ExitWindowsEx 12 0x80000000", nullptr},     {u"重新启动", "ExitWindowsEx 6 0x80000000", nullptr},
    {u"注销", "ExitWindowsEx 4 0x80000000", nullptr},      {u"挂起", "SetSuspendState 0 1 0", &Version::suspend},
    {u"睡眠", "SetSuspendState 1 1 0", &Version::suspend}, {u"锁定计算机", "LockWorkStation", &Version::lock},
};

// Arms the action for one second on a started fixture and lets it come due:
// whether arming took; what arming and the tick called and said is in f.log.
bool RunOut(MainFixture& f, const char16_t* label) {
    f.log.clear();
    f.Arm({.action = label});
    const bool armed = f.form.Armed();
    f.Advance(1);
    f.TimerTick();
    return armed;
}

TEST(PowerByVersion, EachActionIsOfferedPerformedOrRefusedAsItsVersionAllows) {
    int cases = 0;
    for (const Version& v : testing::kWindowsVersions) {
        for (const Action& a : kActions) {
            MainFixture f;
            f.system.Set(v.platform, v.major, v.minor);
            f.Started();
            const bool offered = a.gate != &Version::lock || v.lock;
            const auto& items = f.get<cmbAction>().items;
            ASSERT_EQ(std::find(items.begin(), items.end(), a.label) != items.end(), offered)
                << v.name << " " << testing::Narrow(a.label);
            if (!offered) continue;
            ++cases;
            const bool armed = RunOut(f, a.label);
            const bool performed = !a.gate || v.*a.gate;
            SCOPED_TRACE(std::string(v.name) + " " + testing::Narrow(a.label));
            EXPECT_EQ(f.PowerCalls(), performed ? Log{a.call} : Log{});
            EXPECT_EQ(f.Ended(), performed);
            // A refusal by the version is known, and said, when arming: nothing is armed.
            const std::string refusal =
                "无法执行" + testing::Narrow(a.label) + "。\r\n这个版本的 Windows 不支持此操作。";
            EXPECT_EQ(f.Warnings(), performed ? Log{} : Log{refusal});
            EXPECT_EQ(armed, performed);
        }
    }
    EXPECT_EQ(cases, 11 * 5 + 7);  // locking on the seven versions from 2000 on
}

struct Failure : ::testing::Test {
    MainFixture f;
    void SetUp() override { f.system.Set(2, 10, 0); }
};

TEST_F(Failure, AFailedCallReturnsToIdleShowsTheWindowAndSaysWhy) {
    f.Started();
    f.system.lockResult = false;
    f.system.lastError = 5;
    f.host.shown = false;
    RunOut(f, u"锁定计算机");
    EXPECT_EQ(f.PowerCalls(), Log{"LockWorkStation"});
    EXPECT_EQ(f.Warnings(), Log{"无法执行锁定计算机。\r\n拒绝访问。"});
    // The window comes to the front before the message says why.
    EXPECT_LT(std::find(f.log.begin(), f.log.end(), "foreground"),
              std::find(f.log.begin(), f.log.end(), "warn 无法执行锁定计算机。\r\n拒绝访问。"));
    EXPECT_FALSE(f.Ended());
    EXPECT_FALSE(f.form.Quitting());
    // Idle exactly as disarming leaves it.
    EXPECT_FALSE(f.form.Armed());
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(f.get<cmdTimer>().caption, u"激活定时器(&E)");
    EXPECT_EQ(f.get<lblStatus>().caption, u"定时器禁止");
    EXPECT_TRUE(f.get<frame>().enabled);
    EXPECT_EQ(TipText(f.form.TrayRecord()), u"没设置动作");
    EXPECT_EQ(f.form.TrayRecord().hIcon, 0x777u);
    EXPECT_TRUE(f.host.shown);
}

TEST_F(Failure, EveryKindOfCallThatFailsIsReported) {
    f.Started();
    f.system.exitResult = false;
    f.system.suspendResult = false;
    f.system.lastError = 1314;  // no text for it: the number stands in
    for (const char16_t* label : {u"关机", u"重新启动", u"注销", u"挂起", u"睡眠"}) {
        RunOut(f, label);
        EXPECT_EQ(f.Warnings(), Log{"无法执行" + testing::Narrow(label) + "。\r\n错误代码 1314"})
            << testing::Narrow(label);
        EXPECT_FALSE(f.Ended());
        EXPECT_FALSE(f.timer.enabled);
    }
}

TEST_F(Failure, ACallThatFailsWithoutAnErrorIsNotCalledASuccess) {
    f.Started();
    f.system.exitResult = false;
    f.system.lastError = 0;
    RunOut(f, u"关机");
    EXPECT_EQ(f.Warnings(), Log{"无法执行关机。\r\n错误代码 0"});
}

TEST_F(Failure, WhatTheMachineCannotDoIsRefusedWhenArmingWithItsOwnReason) {
    f.system.hibernateAllowed = false;
    f.system.suspendAllowed = false;
    f.Started();
    f.get<opt1>().Click();  // settings the refusal must leave as they are
    for (const char16_t* label : {u"睡眠", u"挂起"}) {
        f.log.clear();
        f.get<cmbAction>().Choose(label);
        f.Click();
        EXPECT_EQ(f.Warnings(), Log{"无法执行" + testing::Narrow(label) + "。\r\n这台计算机不支持此操作。"});
        EXPECT_TRUE(f.PowerCalls().empty());
        EXPECT_FALSE(f.form.Armed());
        EXPECT_TRUE(f.get<frame>().enabled);
        EXPECT_TRUE(f.get<opt1>().value);
        EXPECT_EQ(f.get<cmdTimer>().caption, u"开始定时(&E)");
        EXPECT_EQ(TipText(f.form.TrayRecord()), u"没设置动作");
    }
}

TEST_F(Failure, AMachineThatChangesAfterArmingIsAskedAgainAtTheDueMoment) {
    f.Started();
    f.Arm({.action = u"睡眠"});
    ASSERT_TRUE(f.form.Armed());
    f.system.hibernateAllowed = false;  // hibernation switched off meanwhile
    f.Advance(1);
    f.TimerTick();
    EXPECT_EQ(f.Warnings(), Log{"无法执行睡眠。\r\n这台计算机不支持此操作。"});
    EXPECT_TRUE(f.PowerCalls().empty());
    EXPECT_FALSE(f.form.Armed());
}

TEST_F(Failure, ModernStandbySuspendsByTurningTheDisplayOffAndEnds) {
    f.system.capabilities = PowerCapabilities{false, false, false, true};
    f.system.suspendAllowed = false;
    f.Started();
    RunOut(f, u"挂起");
    EXPECT_EQ(f.PowerCalls(), Log{"TurnOffDisplay"});
    EXPECT_TRUE(f.Ended());
}

TEST_F(Failure, TheAboutWindowClosesBeforeTheWindowComesBack) {
    f.Started();
    f.system.lockResult = false;
    f.host.aboutOpen = true;
    RunOut(f, u"锁定计算机");
    const auto about = std::find(f.log.begin(), f.log.end(), "unload about");
    ASSERT_NE(about, f.log.end());
    EXPECT_LT(about - f.log.begin(), std::find(f.log.begin(), f.log.end(), "show") - f.log.begin());
}

}  // namespace
}  // namespace dusklet
