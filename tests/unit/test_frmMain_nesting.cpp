// Handlers reached from messages that the system delivers while another
// handler is in progress: arming, disarming and the tick never run inside
// one another; the tray menu's and the About window's loops let ticks and
// notifications through.
#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::Log;
using testing::MainFixture;

constexpr float kRightClick = 517 * 15.0f, kDoubleClick = 515 * 15.0f;

struct Nesting : ::testing::Test {
    MainFixture f;
    void SetUp() override {
        f.Started();
        f.get<cmbUnit>().Choose(u"秒");
        f.get<txtPeriod>().Paste(u"10");
    }
    void Advance(int seconds) { f.clock.Set(AddUnits(f.clock.Serial(), TimeUnit::Seconds, seconds)); }
};

TEST_F(Nesting, ATrayClickDuringArmingWaitsTillArmingHasReturned) {
    f.tray.duringNextCall = [&] { f.form.Form_MouseMove(0, 0, kRightClick, 0); };
    f.form.cmdTimer_Click();
    EXPECT_EQ(f.log, (Log{"tray 1", "later tray 517", "timer on"}));
    EXPECT_TRUE(f.form.TimerOn());
    f.log.clear();
    f.form.Form_MouseMove(0, 0, kRightClick, 0);  // handed back through the queue
    EXPECT_EQ(f.log, (Log{"foreground", "popup"}));
}

TEST_F(Nesting, NoTickRunsInsideDisarming) {
    f.form.cmdTimer_Click();
    Advance(10);  // due: a tick now would fire
    f.tray.duringNextCall = [&] { f.form.Timer_Timer(); };
    f.log.clear();
    f.form.cmdTimer_Click();
    EXPECT_EQ(f.log, (Log{"tray 1", "timer off"}));
    EXPECT_EQ(f.get<lblStatus>().caption, u"定时器禁止");
    EXPECT_FALSE(f.form.Quitting());
}

TEST_F(Nesting, AClickOrANotificationDuringATickWaits) {
    f.form.cmdTimer_Click();
    Advance(5);  // within the blink lead: the tick calls the shell
    f.tray.duringNextCall = [&] {
        f.form.cmdTimer_Click();
        f.form.Form_MouseMove(0, 0, kDoubleClick, 0);
        f.form.RestoreTrayIcon();
    };
    f.log.clear();
    f.form.Timer_Timer();
    EXPECT_EQ(f.log, (Log{"balloon 5 秒后执行关机。单击这里打开窗口可以取消。", "tray 1", "later click",
                          "later tray 515", "later icon"}));
    EXPECT_TRUE(f.form.TimerOn());
    // Handed back, each runs in turn.
    f.log.clear();
    f.form.cmdTimer_Click();
    f.form.Form_MouseMove(0, 0, kDoubleClick, 0);
    f.form.RestoreTrayIcon();
    EXPECT_EQ(f.log, (Log{"withdraw balloon", "tray 1", "timer off", "show", "tray 0"}));
}

TEST_F(Nesting, TicksRunInsideTheMenuAndTheAboutWindowAndCanFire) {
    f.form.cmdTimer_Click();
    f.host.duringPopup = [&] { f.form.Timer_Timer(); };
    f.form.Form_MouseMove(0, 0, kRightClick, 0);
    EXPECT_EQ(f.get<lblStatus>().caption, u"10 秒后执行");
    Advance(10);
    f.host.choice = PopupChoice::About;
    f.host.duringPopup = nullptr;
    f.host.duringAbout = [&] { f.form.Timer_Timer(); };
    f.form.Form_MouseMove(0, 0, kRightClick, 0);
    EXPECT_TRUE(f.host.unloaded);  // fired while About was open
}

TEST_F(Nesting, ADoubleClickInsideAboutClosesItAndShowsTheWindow) {
    f.host.choice = PopupChoice::About;
    f.host.duringAbout = [&] {
        f.host.aboutOpen = true;
        f.form.Form_MouseMove(0, 0, kDoubleClick, 0);
    };
    f.form.Form_MouseMove(0, 0, kRightClick, 0);
    EXPECT_EQ(f.log, (Log{"foreground", "popup", "about", "unload about", "show"}));
}

}  // namespace
}  // namespace dusklet
