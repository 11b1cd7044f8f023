#include <gtest/gtest.h>

#include "base/number_text.h"
#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(LeadingNumber(u"13"), 13);
    EXPECT_EQ(LeadingNumber(u"05"), 5);
    EXPECT_EQ(LeadingNumber(u"7abc"), 7);
    EXPECT_EQ(LeadingNumber(u"12:30"), 12);
    EXPECT_EQ(LeadingNumber(u" 42"), 42);
    EXPECT_EQ(LeadingNumber(u"-3"), -3);
    EXPECT_DOUBLE_EQ(LeadingNumber(u"2.5x"), 2.5);
}

TEST(LeadingNumber, TextsWithoutANumberReadAsZero) {
    for (const char16_t* t : {u"", u"abc", u"-", u".", u"时", u"x12", u"+"})
        EXPECT_EQ(LeadingNumber(t), 0) << testing::Narrow(t);
}

TEST(LeadingNumber, VeryLongDigitRunsStayOrdered) {
    const std::u16string many(400, u'9');
    EXPECT_GT(LeadingNumber(many), 999);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(3.5), 4);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(2.4999), 2);
    EXPECT_EQ(RoundToInt16(11.6), 12);
    EXPECT_EQ(RoundToInt32(1e12), INT32_MAX);
    EXPECT_EQ(RoundToInt16(-1e9), INT16_MIN);
}

TEST(NumberText, PlainAndTwoDigitForms) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(999), u"999");
    EXPECT_EQ(DecimalText(-17), u"-17");
    EXPECT_EQ(DecimalText(INT32_MIN), u"-2147483648");
    EXPECT_EQ(TwoDigitText(0), u"00");
    EXPECT_EQ(TwoDigitText(7), u"07");
    EXPECT_EQ(TwoDigitText(59), u"59");
}

}  // namespace
}  // namespace dusklet
