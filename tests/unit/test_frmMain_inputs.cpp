#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;

using testing::MainFixture;
using testing::MemScrollBar;
using testing::MemTextBox;

struct Inputs : ::testing::Test {
    MainFixture f;
    void SetUp() override {
        f.Started();
        f.get<opt1>().Click();  // clock fields usable too
    }
};

TEST_F(Inputs, EmptyingABoxRaisesItToItsLowerBound) {
    for (auto [box, bar] : {std::pair{&f.get<txtHour>(), &f.get<vsHour>()},
                            {&f.get<txtPeriod>(), &f.get<vsPeriod>()},
                            {&f.get<txtBlink>(), &f.get<vsBlink>()}}) {
        bar->SetValue(5);
        box->Paste(u"");
        EXPECT_EQ(box->text, u"1");
        EXPECT_EQ(bar->Value(), 1);
    }
}

TEST_F(Inputs, EmptyMinuteBoxStaysEmptyAtZeroAndReadsZeroOtherwise) {
    f.get<txtMin>().Paste(u"");
    EXPECT_EQ(f.get<txtMin>().text, u"");
    EXPECT_EQ(f.get<vsMin>().Value(), 0);
    f.get<vsMin>().SetValue(20);
    f.get<txtMin>().Paste(u"");
    EXPECT_EQ(f.get<txtMin>().text, u"00");
    EXPECT_EQ(f.get<vsMin>().Value(), 0);
}

TEST_F(Inputs, OutOfRangeNumbersBecomeTheNearestBound) {
    f.get<txtHour>().Paste(u"13");
    EXPECT_EQ(f.get<txtHour>().text, u"12");
    EXPECT_EQ(f.get<vsHour>().Value(), 12);
    f.get<txtHour>().Paste(u"0");
    EXPECT_EQ(f.get<txtHour>().text, u"1");
    EXPECT_EQ(f.get<vsHour>().Value(), 1);
    f.get<txtMin>().Paste(u"75");
    EXPECT_EQ(f.get<txtMin>().text, u"59");
    EXPECT_EQ(f.get<vsMin>().Value(), 59);
    f.get<txtPeriod>().Paste(u"0");
    EXPECT_EQ(f.get<txtPeriod>().text, u"1");
}

TEST_F(Inputs, TheBarWritesItsOwnFormBack) {
    f.get<txtHour>().Paste(u"05");
    EXPECT_EQ(f.get<txtHour>().text, u"5");
    EXPECT_EQ(f.get<vsHour>().Value(), 5);
    f.get<txtMin>().Paste(u"7");  // bar at 0: moves, and writes two digits
    EXPECT_EQ(f.get<txtMin>().text, u"07");
    EXPECT_EQ(f.get<vsMin>().Value(), 7);
    f.get<txtMin>().Paste(u"7");  // bar already at 7: nothing moves
    EXPECT_EQ(f.get<txtMin>().text, u"7");
}

// While the user types in a box, what is typed stays as typed (a number
// above the range excepted); it is put right when the focus leaves.
TEST_F(Inputs, ABoxKeepsWhatTheUserTypesTillTheFocusLeaves) {
    struct Case {
        MemTextBox* box;
        MemScrollBar* bar;
        const char16_t* typed;  // over the selected text; empty: the text deleted
        const char16_t *whileTyping, *left;
        int16_t value;
    };
    const Case cases[] = {
        {&f.get<txtMin>(), &f.get<vsMin>(), u"45", u"45", u"45", 45},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"7", u"7", u"07", 7},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"", u"", u"00", 0},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"75", u"59", u"59", 59},
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"45", u"45", u"45", 45},
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"", u"", u"1", 1},
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"05", u"05", u"5", 5},
        {&f.get<txtHour>(), &f.get<vsHour>(), u"0", u"0", u"1", 1},
        {&f.get<txtBlink>(), &f.get<vsBlink>(), u"9", u"9", u"9", 9},
    };
    for (const Case& c : cases) {
        c.box->TypeOver(c.typed);
        EXPECT_EQ(c.box->text, c.whileTyping) << testing::Narrow(c.typed);
        c.box->Leave();
        EXPECT_EQ(c.box->text, c.left) << testing::Narrow(c.typed);
        EXPECT_EQ(c.bar->Value(), c.value) << testing::Narrow(c.typed);
    }
}

TEST_F(Inputs, TheSpinnerFollowsTheTypingAndItsArrowsStillWriteTheBox) {
    auto& box = f.get<txtMin>();
    box.TypeOver(u"4");
    EXPECT_EQ(f.get<vsMin>().Value(), 4);
    f.get<vsMin>().ArrowUp();  // a click on the arrow while the box has the focus
    EXPECT_EQ(box.text, u"05");
}

TEST_F(Inputs, ArmingReadsTheBoxesAsLeft) {
    f.get<txtMin>().TypeOver(u"");  // still in the box
    f.Click();
    EXPECT_EQ(f.get<txtMin>().text, u"00");
    EXPECT_EQ(f.DueLocal().minute, 0);
}

TEST_F(Inputs, PastedTextWithoutANumber) {
    f.get<txtHour>().Paste(u"abc");
    EXPECT_EQ(f.get<txtHour>().text, u"1");
    f.get<txtMin>().Paste(u"xyz");  // bar at 0: stays as pasted
    EXPECT_EQ(f.get<txtMin>().text, u"xyz");
    f.get<vsMin>().SetValue(30);
    f.get<txtMin>().Paste(u"xyz");
    EXPECT_EQ(f.get<txtMin>().text, u"00");
    EXPECT_EQ(f.get<vsMin>().Value(), 0);
}

TEST_F(Inputs, ArrowsStopAtTheEndsOfEachRange) {
    for (auto [box, bar] : {std::pair{&f.get<txtHour>(), &f.get<vsHour>()},
                            {&f.get<txtMin>(), &f.get<vsMin>()},
                            {&f.get<txtPeriod>(), &f.get<vsPeriod>()},
                            {&f.get<txtBlink>(), &f.get<vsBlink>()}}) {
        bar->SetValue(bar->Upper());
        const int writes = box->writes;
        bar->ArrowUp();
        EXPECT_EQ(bar->Value(), bar->Upper());
        EXPECT_EQ(box->writes, writes);
        bar->SetValue(bar->Lower());
        bar->ArrowDown();
        EXPECT_EQ(bar->Value(), bar->Lower());
    }
    f.get<vsMin>().SetValue(8);
    f.get<vsMin>().ArrowUp();
    EXPECT_EQ(f.get<txtMin>().text, u"09");
    f.get<vsPeriod>().SetValue(998);
    f.get<vsPeriod>().ArrowUp();
    EXPECT_EQ(f.get<txtPeriod>().text, u"999");
}

// Up and Down in a box step it as its bar's arrows do, and write the
// stepped number in the bar's form at once, even while the user types.
TEST_F(Inputs, UpAndDownStepABoxWithinItsRange) {
    struct Case {
        MemTextBox* box;
        MemScrollBar* bar;
        const char16_t* typed;  // over the selected text
        int16_t key;
        const char16_t* after;
        int16_t value;
    };
    const Case cases[] = {
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"1", kKeyUp, u"2", 2},
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"45", kKeyDown, u"44", 44},
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"999", kKeyUp, u"999", 999},  // the upper end holds
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"1", kKeyDown, u"1", 1},      // the lower end holds
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"", kKeyDown, u"1", 1},       // emptied: its lower bound
        {&f.get<txtPeriod>(), &f.get<vsPeriod>(), u"05", kKeyUp, u"6", 6},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"4", kKeyUp, u"05", 5},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"10", kKeyDown, u"09", 9},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"59", kKeyUp, u"59", 59},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"0", kKeyDown, u"00", 0},
        {&f.get<txtMin>(), &f.get<vsMin>(), u"", kKeyUp, u"01", 1},
        {&f.get<txtHour>(), &f.get<vsHour>(), u"12", kKeyUp, u"12", 12},
        {&f.get<txtHour>(), &f.get<vsHour>(), u"1", kKeyDown, u"1", 1},
        {&f.get<txtBlink>(), &f.get<vsBlink>(), u"30", kKeyDown, u"29", 29},
    };
    for (const Case& c : cases) {
        c.box->TypeOver(c.typed);
        EXPECT_TRUE(c.box->Press(c.key)) << testing::Narrow(c.typed);
        EXPECT_EQ(c.box->text, c.after) << testing::Narrow(c.typed) << (c.key == kKeyUp ? " up" : " down");
        EXPECT_EQ(c.bar->Value(), c.value) << testing::Narrow(c.typed);
    }
    // Held down, the key repeats: each step counts, and the end holds.
    auto& box = f.get<txtHour>();
    box.TypeOver(u"9");
    for (int i = 0; i < 5; ++i) box.Press(kKeyUp);
    EXPECT_EQ(box.text, u"12");
}

TEST_F(Inputs, OtherKeysAreLeftToTheBox) {
    auto& box = f.get<txtPeriod>();
    box.TypeOver(u"45");
    for (int16_t key : {int16_t{37}, int16_t{39}, int16_t{33}, int16_t{34}, int16_t{46}})  // ←, →, PgUp, PgDn, Del
        EXPECT_FALSE(box.Press(key)) << key;
    EXPECT_EQ(box.text, u"45");
    EXPECT_EQ(f.get<vsPeriod>().Value(), 45);
}

TEST_F(Inputs, TheHandlersStopAfterAFewNestedRuns) {
    f.get<txtHour>().writes = 0;
    f.get<vsHour>().changes = 0;
    f.get<txtHour>().Paste(u"13");
    // 13 -> "12" (bound), bar 1 -> 12; the bar's "12" is the text the box
    // holds already, so it writes nothing: one write, one change.
    EXPECT_EQ(f.get<txtHour>().writes, 1);
    EXPECT_EQ(f.get<vsHour>().changes, 1);
}

TEST(DigitKeys, OnlyTheTenDigitsPass) {
    for (int code = -200; code < 400; ++code)
        EXPECT_EQ(IsDigitKey(static_cast<int16_t>(code)), (code >= 48 && code <= 57) ? true : false) << code;
}

TEST_F(Inputs, TypedNonDigitsAreDropped) {
    for (MemTextBox* box : {&f.get<txtPeriod>(), &f.get<txtHour>(), &f.get<txtMin>(), &f.get<txtBlink>()}) {
        const std::u16string before = box->text;
        for (char16_t ch : {u'\b', u'a', u' ', u'-', u'.', u'时'}) box->Type(ch);
        EXPECT_EQ(box->text, before);
    }
}

TEST_F(Inputs, ModeOptionsSwitchTheirFieldsAndKeepValues) {
    f.get<txtPeriod>().Paste(u"42");
    f.get<opt0>().Click();
    EXPECT_TRUE(f.get<txtPeriod>().enabled && f.get<vsPeriod>().enabled && f.get<cmbUnit>().enabled);
    EXPECT_FALSE(f.get<txtHour>().enabled || f.get<vsHour>().enabled || f.get<txtMin>().enabled ||
                 f.get<vsMin>().enabled || f.get<cmbT>().enabled);
    f.get<opt1>().Click();
    EXPECT_FALSE(f.get<txtPeriod>().enabled || f.get<vsPeriod>().enabled || f.get<cmbUnit>().enabled);
    EXPECT_TRUE(f.get<txtHour>().enabled && f.get<vsHour>().enabled && f.get<txtMin>().enabled &&
                f.get<vsMin>().enabled && f.get<cmbT>().enabled);
    EXPECT_EQ(f.get<txtPeriod>().text, u"42");
}

TEST_F(Inputs, BlinkBoxGovernsItsField) {
    f.get<chkBlink>().Click();
    EXPECT_FALSE(f.get<txtBlink>().enabled);
    EXPECT_FALSE(f.get<vsBlink>().enabled);
    EXPECT_EQ(f.get<txtBlink>().text, u"30");
    f.get<chkBlink>().Click();
    EXPECT_TRUE(f.get<txtBlink>().enabled);
    EXPECT_TRUE(f.get<vsBlink>().enabled);
}

}  // namespace
}  // namespace dusklet
