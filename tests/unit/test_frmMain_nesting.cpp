// Handlers reached from messages that the system delivers while another
// handler is in progress: arming, disarming and the tick never run inside
// one another; the tray menu's and the About window's loops let ticks and
// notifications through.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::Log;
using testing::MainFixture;

constexpr uint32_t kRightClick = 0x205, kDoubleClick = 0x203;  // WM_RBUTTONUP, WM_LBUTTONDBLCLK

struct Nesting : ::testing::Test {
    MainFixture f;
    void SetUp() override {
        f.Started();
        f.get<cmbUnit>().Choose(u"秒");
        f.get<txtPeriod>().Paste(u"10");
    }
};

TEST_F(Nesting, ATrayClickDuringArmingWaitsTillArmingHasReturned) {
    f.tray.duringNextCall = [&] { f.Tray(kRightClick); };
    f.Click();
    ASSERT_EQ(f.host.heldBack.size(), 1u);
    EXPECT_EQ(f.host.heldBack[0].detail, static_cast<uint32_t>(TrayNotification::RightButtonUp));
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "popup"), 0);  // no menu inside arming
    EXPECT_TRUE(f.form.Armed());
    f.log.clear();
    f.form.On(f.host.heldBack[0]);  // handed back through the queue
    EXPECT_EQ(f.log, (Log{"foreground", "popup"}));
}

TEST_F(Nesting, NoTickRunsInsideDisarming) {
    f.Click();
    f.Advance(10);  // due: a tick now would fire
    f.tray.duringNextCall = [&] { f.TimerTick(); };
    f.log.clear();
    f.Click();
    EXPECT_EQ(f.host.heldBack.size(), 1u);  // the tick waits its turn
    EXPECT_EQ(f.get<lblStatus>().caption, u"定时器禁止");
    f.form.On(f.host.heldBack[0]);  // and then finds the schedule disarmed
    EXPECT_FALSE(f.form.Quitting());
    EXPECT_FALSE(f.Ended());
}

// One guard for every event: whatever arrives while another is handled is
// held back, in order, and runs once handed in again.
TEST_F(Nesting, EveryKindOfEventArrivingDuringAnotherIsHeldBackInOrder) {
    using Kind = MainEvent::Kind;
    const MainEvent all[] = {{Kind::Click},        {Kind::Tick},
                             {Kind::Wake},         {Kind::Tray, static_cast<uint32_t>(TrayNotification::DoubleClick)},
                             {Kind::MenuExit},     {Kind::PowerSuspend},
                             {Kind::PowerResume},  {Kind::TimeChange},
                             {Kind::TrayIconLost}, {Kind::IconChanged}};
    f.host.shown = false;
    f.tray.duringNextCall = [&] {
        for (const MainEvent& e : all) f.form.On(e);
    };
    f.log.clear();
    f.Click();  // arming: its tray call lets the others in
    ASSERT_EQ(f.host.heldBack.size(), std::size(all));
    for (size_t i = 0; i < std::size(all); ++i) EXPECT_EQ(f.host.heldBack[i].kind, all[i].kind) << i;
    EXPECT_TRUE(f.form.Armed());  // none ran: not the second click, not the exit
    EXPECT_FALSE(f.host.shown);
    EXPECT_EQ(f.tray.calls.size(), 1u);  // the arming's own, and no icon added again
    // Handed in again, each runs in turn: the click disarms, the double
    // click shows the window, the exit ends the program.
    const std::vector<MainEvent> again = f.host.heldBack;
    for (const MainEvent& e : again) f.form.On(e);
    EXPECT_FALSE(f.form.Armed());
    EXPECT_TRUE(f.host.shown);
    EXPECT_TRUE(f.Ended());
}

TEST_F(Nesting, AClickOrANotificationDuringATickWaits) {
    f.Click();
    f.Advance(5);  // within the blink lead: the tick calls the shell
    f.host.shown = false;
    f.tray.duringNextCall = [&] {
        f.Click();
        f.Tray(kDoubleClick);
        f.IconLost();
    };
    f.TimerTick();
    EXPECT_EQ(f.host.heldBack.size(), 3u);
    EXPECT_TRUE(f.form.Armed());
    EXPECT_FALSE(f.host.shown);
    // Handed back, each runs in turn: disarmed, shown, and the icon added again.
    f.tray.calls.clear();
    const std::vector<MainEvent> again = f.host.heldBack;
    for (const MainEvent& e : again) f.form.On(e);
    EXPECT_FALSE(f.form.Armed());
    EXPECT_TRUE(f.host.shown);
    EXPECT_TRUE(f.tray.holds);
    EXPECT_EQ(f.tray.LastTip(), "\xC3\xBB\xC9\xE8\xD6\xC3\xB6\xAF\xD7\xF7");  // 没设置动作: disarmed
}

TEST_F(Nesting, TicksRunInsideTheMenuAndTheAboutWindowAndCanFire) {
    f.Click();
    f.host.duringPopup = [&] { f.TimerTick(); };
    f.Tray(kRightClick);
    EXPECT_EQ(f.get<lblStatus>().caption, u"10 秒后执行");
    f.Pass(9);
    f.Advance(1);
    f.host.choice = PopupChoice::About;
    f.host.duringPopup = nullptr;
    f.host.duringAbout = [&] { f.TimerTick(); };
    f.Tray(kRightClick);
    EXPECT_TRUE(f.Ended());  // fired while About was open
}

TEST_F(Nesting, ADoubleClickInsideAboutClosesItAndShowsTheWindow) {
    f.host.choice = PopupChoice::About;
    f.host.duringAbout = [&] {
        f.host.aboutOpen = true;
        f.Tray(kDoubleClick);
    };
    f.Tray(kRightClick);
    EXPECT_FALSE(f.host.aboutOpen);
    EXPECT_TRUE(f.host.shown);
}

}  // namespace
}  // namespace dusklet
