#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using testing::MainFixture;
using testing::MemScrollBar;
using testing::MemTextBox;

struct Inputs : ::testing::Test {
    MainFixture f;
    void SetUp() override {
        f.Started();
        f.opt1.Click();  // clock fields usable too
    }
};

TEST_F(Inputs, EmptyingABoxRaisesItToItsLowerBound) {
    for (auto [box, bar] : {std::pair{&f.txtHour, &f.vsHour}, {&f.txtPeriod, &f.vsPeriod}, {&f.txtBlink, &f.vsBlink}}) {
        bar->SetValue(5);
        box->Paste(u"");
        EXPECT_EQ(box->text, u"1");
        EXPECT_EQ(bar->value, 1);
    }
}

TEST_F(Inputs, EmptyMinuteBoxStaysEmptyAtZeroAndReadsZeroOtherwise) {
    f.txtMin.Paste(u"");
    EXPECT_EQ(f.txtMin.text, u"");
    EXPECT_EQ(f.vsMin.value, 0);
    f.vsMin.SetValue(20);
    f.txtMin.Paste(u"");
    EXPECT_EQ(f.txtMin.text, u"00");
    EXPECT_EQ(f.vsMin.value, 0);
}

TEST_F(Inputs, OutOfRangeNumbersBecomeTheNearestBound) {
    f.txtHour.Paste(u"13");
    EXPECT_EQ(f.txtHour.text, u"12");
    EXPECT_EQ(f.vsHour.value, 12);
    f.txtHour.Paste(u"0");
    EXPECT_EQ(f.txtHour.text, u"1");
    EXPECT_EQ(f.vsHour.value, 1);
    f.txtMin.Paste(u"75");
    EXPECT_EQ(f.txtMin.text, u"59");
    EXPECT_EQ(f.vsMin.value, 59);
    f.txtPeriod.Paste(u"0");
    EXPECT_EQ(f.txtPeriod.text, u"1");
}

TEST_F(Inputs, TheBarWritesItsOwnFormBack) {
    f.txtHour.Paste(u"05");
    EXPECT_EQ(f.txtHour.text, u"5");
    EXPECT_EQ(f.vsHour.value, 5);
    f.txtMin.Paste(u"7");  // bar at 0: moves, and writes two digits
    EXPECT_EQ(f.txtMin.text, u"07");
    EXPECT_EQ(f.vsMin.value, 7);
    f.txtMin.Paste(u"7");  // bar already at 7: nothing moves
    EXPECT_EQ(f.txtMin.text, u"7");
}

TEST_F(Inputs, TypingIntoTheMinuteBox) {
    f.txtMin.Paste(u"");
    f.txtMin.Type(u'7');
    EXPECT_EQ(f.txtMin.text, u"07");
}

TEST_F(Inputs, PastedTextWithoutANumber) {
    f.txtHour.Paste(u"abc");
    EXPECT_EQ(f.txtHour.text, u"1");
    f.txtMin.Paste(u"xyz");  // bar at 0: stays as pasted
    EXPECT_EQ(f.txtMin.text, u"xyz");
    f.vsMin.SetValue(30);
    f.txtMin.Paste(u"xyz");
    EXPECT_EQ(f.txtMin.text, u"00");
    EXPECT_EQ(f.vsMin.value, 0);
}

TEST_F(Inputs, ArrowsStopAtTheEndsOfEachRange) {
    for (auto [box, bar] : {std::pair{&f.txtHour, &f.vsHour}, {&f.txtMin, &f.vsMin}, {&f.txtPeriod, &f.vsPeriod},
                            {&f.txtBlink, &f.vsBlink}}) {
        bar->SetValue(bar->Upper());
        const int writes = box->writes;
        bar->ArrowUp();
        EXPECT_EQ(bar->value, bar->Upper());
        EXPECT_EQ(box->writes, writes);
        bar->SetValue(bar->Lower());
        bar->ArrowDown();
        EXPECT_EQ(bar->value, bar->Lower());
    }
    f.vsMin.SetValue(8);
    f.vsMin.ArrowUp();
    EXPECT_EQ(f.txtMin.text, u"09");
    f.vsPeriod.SetValue(998);
    f.vsPeriod.ArrowUp();
    EXPECT_EQ(f.txtPeriod.text, u"999");
}

TEST_F(Inputs, TheHandlersStopAfterAFewNestedRuns) {
    f.txtHour.writes = 0;
    f.vsHour.changes = 0;
    f.txtHour.Paste(u"13");
    // 13 -> "12" (bound), bar 1 -> 12, bar writes "12" back: two writes, one change.
    EXPECT_EQ(f.txtHour.writes, 2);
    EXPECT_EQ(f.vsHour.changes, 1);
}

TEST(DigitKeys, OnlyTheTenDigitsPass) {
    for (int code = -200; code < 400; ++code)
        EXPECT_EQ(IsDigitKey(static_cast<int16_t>(code)), (code >= 48 && code <= 57) ? kTrue : kFalse) << code;
}

TEST_F(Inputs, TypedNonDigitsAreDropped) {
    for (MemTextBox* box : {&f.txtPeriod, &f.txtHour, &f.txtMin, &f.txtBlink}) {
        const std::u16string before = box->text;
        for (char16_t ch : {u'\b', u'a', u' ', u'-', u'.', u'时'}) box->Type(ch);
        EXPECT_EQ(box->text, before);
    }
}

TEST_F(Inputs, ModeOptionsSwitchTheirFieldsAndKeepValues) {
    f.txtPeriod.Paste(u"42");
    f.opt0.Click();
    EXPECT_TRUE(f.txtPeriod.enabled && f.vsPeriod.enabled && f.cmbUnit.enabled);
    EXPECT_FALSE(f.txtHour.enabled || f.vsHour.enabled || f.txtMin.enabled || f.vsMin.enabled || f.cmbT.enabled);
    f.opt1.Click();
    EXPECT_FALSE(f.txtPeriod.enabled || f.vsPeriod.enabled || f.cmbUnit.enabled);
    EXPECT_TRUE(f.txtHour.enabled && f.vsHour.enabled && f.txtMin.enabled && f.vsMin.enabled && f.cmbT.enabled);
    EXPECT_EQ(f.txtPeriod.text, u"42");
}

TEST_F(Inputs, BlinkBoxGovernsItsField) {
    f.chkBlink.Click();
    EXPECT_FALSE(f.txtBlink.enabled);
    EXPECT_FALSE(f.vsBlink.enabled);
    EXPECT_EQ(f.txtBlink.text, u"30");
    f.chkBlink.Click();
    EXPECT_TRUE(f.txtBlink.enabled);
    EXPECT_TRUE(f.vsBlink.enabled);
}

}  // namespace
}  // namespace dusklet
