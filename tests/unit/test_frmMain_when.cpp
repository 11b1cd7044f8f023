// The 当 mode in the window: arming on a condition, what the window says
// while it waits, the warning once it holds, and the watching going on when
// it stops holding.
#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::MainFixture;

struct When : ::testing::Test {
    MainFixture f;
    void SetUp() override {
        f.watch.Start(40, u"notepad.exe");
        f.watch.Start(44, u"Notepad.exe");
        f.watch.Start(50, u"setup.exe");
        f.watch.windows = {{40, u"无标题 - 记事本", u"notepad.exe"}, {50, u"安装", u"setup.exe"}};
        f.Started();
    }
    // The window set to the condition, as the user would, and the button.
    void Arm(const char16_t* condition, const char16_t* lead = u"5") {
        f.get<opt2>().Click();
        f.get<cmbCondition>().Choose(condition);
        f.get<txtBlink>().Paste(lead);
        f.Click();
    }
    void ArmProgram(const char16_t* entry) {
        f.get<cmbProgram>().Open();
        f.get<cmbProgram>().Choose(entry);
        Arm(u"程序退出");
    }
    // The process ends, and the message loop says so.
    void End(uint32_t id) {
        f.watch.End(id);
        f.form.On({MainEvent::Kind::ProgramEnded, id});
    }
};

TEST_F(When, OnlyWhatTheChosenConditionNeedsShowsAndTakesInput) {
    EXPECT_EQ(f.get<cmbCondition>().items, (std::vector<std::u16string>{u"程序退出", u"下载完成", u"无人使用"}));
    EXPECT_FALSE(f.get<cmbCondition>().enabled);
    EXPECT_TRUE(f.get<cmbProgram>().visible);
    EXPECT_FALSE(f.get<txtKb>().visible || f.get<txtIdle>().visible);
    f.get<opt2>().Click();
    EXPECT_TRUE(f.get<cmbCondition>().enabled && f.get<cmbProgram>().enabled);
    EXPECT_FALSE(f.get<txtPeriod>().enabled || f.get<txtHour>().enabled);
    f.get<cmbCondition>().Choose(u"下载完成");
    EXPECT_FALSE(f.get<cmbProgram>().visible);
    EXPECT_TRUE(f.get<txtKb>().visible && f.get<txtKb>().enabled && f.get<vsQuiet>().enabled);
    f.get<opt0>().Click();
    EXPECT_TRUE(f.get<txtKb>().visible && !f.get<txtKb>().enabled);
    // 95 has tool help but neither the network's counters nor the last input.
    MainFixture g;
    g.system.Set(1, 4, 0);
    g.Started();
    EXPECT_EQ(g.get<cmbCondition>().items, (std::vector<std::u16string>{u"程序退出"}));
}

TEST_F(When, AProgramsEndWaitsForEveryProcessOfItsNameThenWarnsAsAfterAResume) {
    f.get<cmbProgram>().Open();
    EXPECT_EQ(f.get<cmbProgram>().items,
              (std::vector<std::u16string>{u"无标题 - 记事本 (notepad.exe)", u"安装 (setup.exe)"}));
    ArmProgram(u"无标题 - 记事本 (notepad.exe)");
    ASSERT_TRUE(f.form.Armed());
    EXPECT_EQ(f.watch.waited, (std::vector<uint32_t>{40, 44}));  // both, whatever the case of their names
    EXPECT_EQ(f.Tip(), u"notepad.exe 退出后执行关机");
    EXPECT_FALSE(f.deadline.aimed);  // nothing is due: no wake-up
    EXPECT_EQ(f.deadline.log.front(), "keep awake");
    f.TimerTick();  // the strip, once a second while the window shows
    EXPECT_EQ(f.Strip(), u"等待 notepad.exe 退出，还有 2 个在运行");
    End(40);
    f.watch.Start(46, u"notepad.exe");  // a second copy started before the last ended
    End(44);
    f.TimerTick();
    EXPECT_EQ(f.Strip(), u"等待 notepad.exe 退出，还有 1 个在运行");
    EXPECT_FALSE(f.host.panel);
    End(46);
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");  // the lead of 5, at least 30
    ASSERT_EQ(f.tray.balloons.size(), 1u);
    EXPECT_EQ(f.tray.BalloonText(0), "notepad.exe 已退出，30 秒后执行关机。单击这里打开窗口可以取消。");
    f.Pass(29);
    EXPECT_TRUE(f.PowerCalls().empty());
    f.Pass(1);
    EXPECT_EQ(f.PowerCalls(), testing::Log{"ExitWindowsEx 12 0x80000000"});
}

TEST_F(When, AProgramThatRunsNoMoreIsRefusedAndDisarmingStopsTheWatching) {
    f.get<cmbProgram>().Open();
    f.get<cmbProgram>().Choose(u"安装 (setup.exe)");
    f.watch.End(50);
    Arm(u"程序退出");
    EXPECT_FALSE(f.form.Armed());
    EXPECT_EQ(f.Warnings(), testing::Log{"没有正在运行的程序 安装 (setup.exe)。"});
    ArmProgram(u"无标题 - 记事本 (notepad.exe)");
    f.Click();
    EXPECT_TRUE(f.watch.waited.empty());
    End(40);  // came while disarming: nothing
    EXPECT_FALSE(f.host.panel);
}

// A copy that cannot be waited for (another user's, after an installer
// asked for an administrator) still runs: it is looked for every few
// seconds until it has gone, and only then does the warning come.
TEST_F(When, AProcessThatCannotBeWaitedForIsLookedForUntilItHasGone) {
    f.watch.unseen = {44};
    ArmProgram(u"无标题 - 记事本 (notepad.exe)");
    ASSERT_TRUE(f.form.Armed());
    EXPECT_EQ(f.watch.waited, (std::vector<uint32_t>{40}));
    EXPECT_TRUE(f.watch.sampling);
    End(40);
    f.form.On({MainEvent::Kind::Sample});
    EXPECT_FALSE(f.host.panel);
    f.watch.unseen.push_back(47);  // another one the installer started, unseen too
    f.watch.Start(47, u"notepad.exe");
    f.watch.End(44);
    f.form.On({MainEvent::Kind::Sample});
    EXPECT_FALSE(f.host.panel);
    f.watch.End(47);
    f.form.On({MainEvent::Kind::Sample});
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    EXPECT_FALSE(f.watch.sampling);  // nothing is left to look for
}

// Windows 95, 98 and ME give process ids with the high bit set.
TEST_F(When, AProcessIdWithTheHighBitSetIsAProcessLikeAnyOther) {
    const uint32_t id = 0xFFF5A0D3u;
    f.watch.Start(id, u"setup98.exe");
    f.watch.windows.push_back({id, u"安装程序", u"setup98.exe"});
    ArmProgram(u"安装程序 (setup98.exe)");
    ASSERT_TRUE(f.form.Armed()) << (f.Warnings().empty() ? "" : f.Warnings().front());
    EXPECT_EQ(f.watch.waited, (std::vector<uint32_t>{id}));
    End(id);
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
}

TEST_F(When, AQuietNetworkWarnsAndTrafficAgainEndsTheWarningAndTheWatchingGoesOn) {
    f.get<txtKb>().Paste(u"20");
    f.get<txtQuiet>().Paste(u"1");
    f.get<cmbCondition>().Choose(u"下载完成");
    Arm(u"下载完成");
    ASSERT_TRUE(f.form.Armed());
    EXPECT_TRUE(f.watch.sampling);
    EXPECT_EQ(f.Tip(), u"下载完成后执行关机（1 分钟低于 20 KB/s）");
    const auto sample = [&](uint32_t received) {
        f.watch.tick += 5000;
        f.watch.received = std::vector<InterfaceBytes>{{1, received}};
        f.form.On({MainEvent::Kind::Sample});
    };
    uint32_t bytes = 0;
    sample(bytes += 500 * 1024);  // 100 KB/s: the download goes on
    f.TimerTick();
    EXPECT_EQ(f.Strip(), u"网络 100 KB/s，已安静 0:00");
    for (int i = 0; i < 11; ++i) sample(bytes += 50 * 1024);  // 10 KB/s
    f.TimerTick();
    EXPECT_EQ(f.Strip(), u"网络 10 KB/s，已安静 0:55");
    EXPECT_FALSE(f.host.panel);
    sample(bytes += 50 * 1024);
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    EXPECT_EQ(f.tray.BalloonText(0), "下载已完成，30 秒后执行关机。单击这里打开窗口可以取消。");
    f.Pass(10);
    sample(bytes += 5000 * 1024);  // 1000 KB/s: the download is back
    EXPECT_FALSE(f.host.panel);
    EXPECT_EQ(f.Tip(), u"下载完成后执行关机（1 分钟低于 20 KB/s）");
    EXPECT_FALSE(f.deadline.aimed);
    f.Pass(60);
    EXPECT_TRUE(f.PowerCalls().empty());
    EXPECT_TRUE(f.form.Armed());
    f.Click();
    EXPECT_FALSE(f.watch.sampling);
}

TEST_F(When, NobodyThereLooksOnceWhenTheIdleTimeWouldReachItAndInputEndsTheWarning) {
    f.get<txtIdle>().Paste(u"2");
    f.get<cmbCondition>().Choose(u"无人使用");
    f.watch.lastInput = f.watch.tick - 30000;  // nobody for 30 s
    Arm(u"无人使用");
    EXPECT_EQ(f.Tip(), u"无人使用 2 分钟后执行关机");
    EXPECT_EQ(f.watch.lookIn, 90000u);
    const auto look = [&](uint32_t ms) {
        f.watch.tick += ms;
        f.form.On({MainEvent::Kind::IdleLook});
    };
    f.watch.lastInput = f.watch.tick + 60000;  // somebody, a minute on
    look(89000);
    EXPECT_EQ(f.watch.lookIn, 120000u - 29000u);
    EXPECT_FALSE(f.host.panel);
    look(91000);
    EXPECT_EQ(f.host.panel, u"30 秒后执行关机");
    EXPECT_EQ(f.host.panelTitle, u"Dusklet：动一下鼠标或键盘即可取消");
    f.Pass(5);
    f.watch.lastInput = f.watch.tick;  // the mouse moves
    f.TimerTick();
    EXPECT_FALSE(f.host.panel);
    EXPECT_EQ(f.watch.lookIn, 120000u);
    // A film counts as somebody there.
    f.watch.fullScreen = true;
    look(120000);
    EXPECT_FALSE(f.host.panel);
    EXPECT_TRUE(f.PowerCalls().empty());
}

TEST_F(When, TheCommandLineArmsEachConditionAndRefusesWhatCannotBe) {
    const auto apply = [&](const char16_t* line) { return f.form.Command(ParseCommandLine(line).command); };
    EXPECT_EQ(apply(u"d /s /exit setup.exe /w 5"), exit_code::kDone);
    EXPECT_EQ(f.watch.waited, (std::vector<uint32_t>{50}));
    EXPECT_TRUE(f.get<opt2>().value);
    EXPECT_EQ(f.get<cmbProgram>().Text(), u"setup.exe");
    EXPECT_EQ(apply(u"d /s /exit 44"), exit_code::kDone);  // one process by its id
    EXPECT_EQ(f.watch.waited, (std::vector<uint32_t>{44}));
    EXPECT_EQ(apply(u"d /l /net 3 /kb 80"), exit_code::kDone);
    EXPECT_EQ(f.Tip(), u"下载完成后执行注销（3 分钟低于 80 KB/s）");
    EXPECT_EQ(apply(u"d /r /idle 15"), exit_code::kDone);
    EXPECT_EQ(f.Tip(), u"无人使用 15 分钟后执行重新启动");
    EXPECT_EQ(apply(u"d /p"), exit_code::kNotFound);  // nothing is due to postpone
    // A program that does not run, and a condition this Windows cannot watch,
    // are refused and change nothing.
    const std::u16string tip = f.Tip();
    EXPECT_EQ(apply(u"d /s /exit calc.exe"), exit_code::kBadArguments);
    EXPECT_EQ(f.Warnings().back(), "没有正在运行的程序 calc.exe。");
    f.system.Set(2, 4, 0);  // NT 4, with no psapi.dll
    f.watch.installed.clear();
    EXPECT_EQ(apply(u"d /s /exit setup.exe"), exit_code::kRefused);
    EXPECT_EQ(f.Warnings().back(), "这个版本的 Windows 无法等待“程序退出”。");
    EXPECT_EQ(f.Tip(), tip);
    EXPECT_EQ(f.get<txtIdle>().text, u"15");
}

}  // namespace
}  // namespace dusklet
