#include <gtest/gtest.h>

#include "base/program_folder.h"
#include "tests/unit/fakes.h"
#include "ui/modal_count.h"
#include "ui/spin_range.h"
#include "ui/tab_order.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::MainFixture;

TEST(SpinRange, MinAtTheTopIsTheLargerNumber) {
    const SpinRange hours(12, 1);
    EXPECT_EQ(hours.Positions(), 11);
    EXPECT_EQ(hours.PositionOf(12), 0);
    EXPECT_EQ(hours.PositionOf(1), 11);
    EXPECT_EQ(hours.ValueAt(0), 12);
    EXPECT_EQ(hours.ValueAt(4), 8);
    // The up arrow raises the value; the ends hold.
    EXPECT_EQ(hours.ValueAt(hours.PositionAfter(SpinMove::LineUp, hours.PositionOf(8), 0)), 9);
    EXPECT_EQ(hours.PositionAfter(SpinMove::LineUp, 0, 0), 0);
    EXPECT_EQ(hours.PositionAfter(SpinMove::PageDown, 11, 0), 11);
    EXPECT_EQ(hours.PositionAfter(SpinMove::Thumb, 3, 40), 11);
    EXPECT_EQ(hours.PositionAfter(SpinMove::Other, 3, 0), -1);
    // Values beyond the range show at its ends.
    EXPECT_EQ(hours.PositionOf(13), 0);
    EXPECT_EQ(hours.PositionOf(-5), 11);
}

TEST(SpinRange, AnUninvertedRangeCountsDownwards) {
    const SpinRange r(0, 59);
    EXPECT_EQ(r.PositionOf(7), 7);
    EXPECT_EQ(r.ValueAt(r.PositionAfter(SpinMove::LineDown, 7, 0)), 8);
    EXPECT_EQ(r.ValueAt(r.PositionAfter(SpinMove::Bottom, 7, 0)), 59);
}

TEST(Layout, TwipsBecomePixelsAtEveryDpi) {
    EXPECT_EQ(TwipsToPixels(3780, 96), 252);
    EXPECT_EQ(TwipsToPixels(4335, 96), 289);
    EXPECT_EQ(TwipsToPixels(3780, 120), 315);
    EXPECT_EQ(TwipsToPixels(4335, 144), 434);  // 433.5 rounds away from zero
    EXPECT_EQ(TwipsToPixels(-15, 96), -1);
    EXPECT_EQ(TwipsToPixels(3780, 240), 630);
}

TEST(Layout, RowsOutOfOrderOrBeforeTheirContainerAreCaught) {
    constexpr ControlLayout good[] = {{0, "a", ControlKind::Frame, kOnWindow, u"", {}, {}, 0, true, false, 0, 0, 0, 0},
                                      {1, "b", ControlKind::Check, 0, u"", {}, {}, 1, true, false, 0, 0, 0, 0}};
    constexpr ControlLayout swapped[] = {
        {1, "b", ControlKind::Check, 0, u"", {}, {}, 1, true, false, 0, 0, 0, 0},
        {0, "a", ControlKind::Frame, kOnWindow, u"", {}, {}, 0, true, false, 0, 0, 0, 0}};
    constexpr ControlLayout childFirst[] = {
        {0, "b", ControlKind::Check, 1, u"", {}, {}, 1, true, false, 0, 0, 0, 0},
        {1, "a", ControlKind::Frame, kOnWindow, u"", {}, {}, 0, true, false, 0, 0, 0, 0}};
    EXPECT_TRUE(RowsInOrder(good, 2));
    EXPECT_FALSE(RowsInOrder(good, 3));
    EXPECT_FALSE(RowsInOrder(swapped, 2));
    EXPECT_FALSE(RowsInOrder(childFirst, 2));
}

struct TabOrder : ::testing::Test {
    MainFixture f;
    void SetUp() override { f.Started(); }
    std::vector<int> Walk(int from, int steps, bool backwards = false) {
        std::vector<int> seen;
        for (int i = 0; i < steps; ++i)
            seen.push_back(from = NextInTabOrder(kMainLayout, f.controls.all, from, backwards));
        return seen;
    }
};

TEST_F(TabOrder, FollowsTheTabIndicesOverContainersSkippingWhatCannotTakeIt) {
    // Clock-mode controls are disabled; of the options only the chosen one.
    EXPECT_EQ(Walk(cmbAction, 10), (std::vector<int>{chkForce, chkBlink, txtBlink, cmdTimer, vsBlink, vsPeriod, opt0,
                                                     cmbUnit, txtPeriod, cmbAction}));
    EXPECT_EQ(Walk(txtPeriod, 2, true), (std::vector<int>{cmbUnit, opt0}));
    // From no control Tab starts at the first, Shift+Tab at the last.
    EXPECT_EQ(Walk(-1, 1), std::vector<int>{cmbAction});
    EXPECT_EQ(Walk(-1, 1, true), std::vector<int>{txtPeriod});
}

TEST_F(TabOrder, ClockModeAndTheBlinkBoxChangeTheWay) {
    f.get<opt1>().Click();
    f.get<chkBlink>().Click();
    EXPECT_EQ(Walk(cmdTimer, 8), (std::vector<int>{cmbT, txtMin, vsMin, txtHour, vsHour, opt1, cmbAction, chkForce}));
}

TEST_F(TabOrder, ArmedOnlyTheButtonTakesTheFocus) {
    f.Click();
    EXPECT_FALSE(CanTakeFocus(kMainLayout, f.controls.all, txtPeriod));  // its containers are disabled
    EXPECT_FALSE(CanTakeFocus(kMainLayout, f.controls.all, lblStatus));
    EXPECT_TRUE(CanTakeFocus(kMainLayout, f.controls.all, cmdTimer));
    EXPECT_EQ(Walk(-1, 2), (std::vector<int>{cmdTimer, cmdTimer}));
}

// About and a message box over the main window, closed in either order:
// the window takes input only once both are gone.
TEST(ModalCount, HeldUntilTheLastClosesWhicheverItIs) {
    for (const bool aboutFirst : {true, false}) {
        ModalCount modal;
        modal.Open();  // the message box
        modal.Open();  // About, from the tray menu
        EXPECT_FALSE(modal.Close()) << aboutFirst;
        EXPECT_TRUE(modal.Held());
        EXPECT_TRUE(modal.Close());
        EXPECT_FALSE(modal.Held());
        EXPECT_FALSE(modal.Close());  // a stray close never lets go of a later one
        modal.Open();
        EXPECT_TRUE(modal.Held());
    }
}

TEST(TextBoxContract, TheSameTextAgainChangesNothing) {
    testing::MemTextBox box;
    int changes = 0;
    struct Counter {
        int* n;
        void Bump() { ++*n; }
    } counter{&changes};
    box.onChange = Event<>::To<&Counter::Bump>(&counter);
    box.SetText(u"12");
    box.SetText(u"12");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.writes, 1);
    box.SetText(u"");
    EXPECT_EQ(changes, 2);
}

TEST(ProgramFolder, EverythingBeforeTheLastBackslash) {
    EXPECT_EQ(FolderOf(u"C:\\Program Files\\Dusklet\\Dusklet.exe"), u"C:\\Program Files\\Dusklet");
    EXPECT_EQ(FolderOf(u"C:\\Dusklet.exe"), u"C:\\");  // a drive's root keeps its separator
    EXPECT_EQ(FolderOf(u"\\\\server\\share\\Dusklet.exe"), u"\\\\server\\share");
    EXPECT_EQ(FolderOf(u"Dusklet.exe"), u"");
    // 誠 is 0xD5 0x5C in code page 936: its second byte is no separator.
    EXPECT_EQ(FolderOf(u"D:\\工具\\誠\\Dusklet.exe"), u"D:\\工具\\誠");
}

}  // namespace
}  // namespace dusklet
