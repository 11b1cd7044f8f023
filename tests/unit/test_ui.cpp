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

TEST(Layout, RowsOutOfOrderBeforeOrApartFromTheirContainerAreCaught) {
    constexpr ControlLayout good[] = {{0, ControlKind::Frame, kOnWindow, "a", u"", {}, {}, true, false, 0, 0, 0, 0},
                                      {1, ControlKind::Check, 0, "b", u"", {}, {}, true, false, 0, 0, 0, 0}};
    constexpr ControlLayout swapped[] = {{1, ControlKind::Check, 0, "b", u"", {}, {}, true, false, 0, 0, 0, 0},
                                         {0, ControlKind::Frame, kOnWindow, "a", u"", {}, {}, true, false, 0, 0, 0, 0}};
    constexpr ControlLayout childFirst[] = {
        {0, ControlKind::Check, 1, "b", u"", {}, {}, true, false, 0, 0, 0, 0},
        {1, ControlKind::Frame, kOnWindow, "a", u"", {}, {}, true, false, 0, 0, 0, 0}};
    // A control of the window's between the frame and the frame's control:
    // the window would make and Tab would reach them in different orders.
    constexpr ControlLayout apart[] = {{0, ControlKind::Frame, kOnWindow, "a", u"", {}, {}, true, false, 0, 0, 0, 0},
                                       {1, ControlKind::Check, kOnWindow, "c", u"", {}, {}, true, false, 0, 0, 0, 0},
                                       {2, ControlKind::Check, 0, "b", u"", {}, {}, true, false, 0, 0, 0, 0}};
    EXPECT_TRUE(RowsInOrder(good, 2));
    EXPECT_FALSE(RowsInOrder(good, 3));
    EXPECT_FALSE(RowsInOrder(swapped, 2));
    EXPECT_FALSE(RowsInOrder(childFirst, 2));
    EXPECT_FALSE(RowsInOrder(apart, 3));
}

// Where a row sits on the window, in twips: its place moved by its containers'.
struct Place {
    int left, top, height;
};
Place OnWindow(int id) {
    const TwipsRect& own = kMainLayout[id].rect;
    Place r = {own.left, own.top, own.height};
    for (int c = kMainLayout[id].parent; c != kOnWindow; c = kMainLayout[c].parent) {
        r.left += kMainLayout[c].rect.left;
        r.top += kMainLayout[c].rect.top;
    }
    return r;
}

// A line above, or on the same line (their heights overlap) to the left.
bool ReadsBefore(const Place& a, const Place& b) {
    const bool sameLine = a.top < b.top + b.height && b.top < a.top + a.height;
    return sameLine ? a.left < b.left : a.top < b.top;
}

// The rows are the order in which the window makes its controls (each
// container's right after it), so their z-order, and the order Tab follows.
TEST(Layout, TheRowsReadTheWindowTopToBottomLeftToRight) {
    // An option group reads where its first option sits, its options top to bottom.
    const auto firstOf = [](int id) {
        for (const ControlLayout& row : kMainLayout)
            if (kMainLayout[id].kind == ControlKind::Option && row.kind == ControlKind::Option &&
                row.parent == kMainLayout[id].parent)
                return static_cast<int>(row.id);
        return id;
    };
    const auto inside = [](const ControlLayout& row) {
        return row.kind == ControlKind::Frame || row.kind == ControlKind::Picture;
    };
    // The rows of one condition and those of another share their place: only one of them shows.
    const auto condition = [](int id) {
        for (const ConditionRows& rows : kConditionRows)
            if (id >= rows.first && id <= rows.last) return static_cast<int>(rows.condition);
        return -1;
    };
    for (const ControlLayout& a : kMainLayout) {
        for (const ControlLayout& b : std::span(kMainLayout).subspan(static_cast<size_t>(a.id) + 1)) {
            if (inside(a) || inside(b)) continue;  // a container holds what it holds
            if (condition(a.id) >= 0 && condition(b.id) >= 0 && condition(a.id) != condition(b.id)) continue;
            const bool oneGroup = firstOf(a.id) == firstOf(b.id);
            EXPECT_TRUE(oneGroup ? OnWindow(a.id).top < OnWindow(b.id).top
                                 : ReadsBefore(OnWindow(firstOf(a.id)), OnWindow(firstOf(b.id))))
                << a.name << " before " << b.name;
        }
    }
}

// Screen readers name a control by the label made just before it in its
// container: every number box, list and spin bar has one that says what it sets.
TEST(Layout, EveryInputIsNamedByTheLabelBeforeIt) {
    for (const ControlLayout& row : kMainLayout) {
        if (row.kind != ControlKind::TextBox && row.kind != ControlKind::DropDownList &&
            row.kind != ControlKind::SpinBar)
            continue;
        const ControlLayout& before = kMainLayout[row.id - 1];
        EXPECT_TRUE((before.kind == ControlKind::Name || before.kind == ControlKind::Label) &&
                    before.parent == row.parent && before.text[0] != u'\0')
            << row.name;
    }
}

TEST(Layout, TheWindowStopsOncePerOptionGroupAndNeverOnASpinBar) {
    std::vector<int> stops;
    for (const ControlLayout& row : kMainLayout)
        if (TabStop(row)) stops.push_back(row.id);
    EXPECT_EQ(stops, (std::vector<int>{cmbAction, opt0, txtPeriod, cmbUnit, txtHour, txtMin, cmbT, cmbCondition,
                                       cmbProgram, txtKb, txtQuiet, txtIdle, chkForce, chkBlink, txtBlink, cmdTimer}));
    // The options form one group, in which the arrow keys move; the control
    // after them starts the next.
    EXPECT_TRUE(StartsGroup(kMainLayout, opt0));
    EXPECT_FALSE(StartsGroup(kMainLayout, opt1));
    EXPECT_TRUE(StartsGroup(kMainLayout, txtPeriod));
    EXPECT_TRUE(StartsGroup(kMainLayout, chkForce));
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

TEST_F(TabOrder, FollowsTheRowsOverContainersSkippingWhatCannotTakeIt) {
    // Clock-mode controls are disabled; of the options only the chosen one.
    // Two Tabs from the action list reach the countdown box.
    EXPECT_EQ(Walk(cmbAction, 8),
              (std::vector<int>{opt0, txtPeriod, cmbUnit, chkForce, chkBlink, txtBlink, cmdTimer, cmbAction}));
    EXPECT_EQ(Walk(chkForce, 3, true), (std::vector<int>{cmbUnit, txtPeriod, opt0}));
    // From no control Tab starts at the first, Shift+Tab at the last.
    EXPECT_EQ(Walk(-1, 1), std::vector<int>{cmbAction});
    EXPECT_EQ(Walk(-1, 1, true), std::vector<int>{cmdTimer});
}

TEST_F(TabOrder, ClockModeAndTheBlinkBoxChangeTheWay) {
    f.get<opt1>().Click();
    f.get<chkBlink>().Click();
    EXPECT_EQ(Walk(cmdTimer, 8),
              (std::vector<int>{cmbAction, opt1, txtHour, txtMin, cmbT, chkForce, chkBlink, cmdTimer}));
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
