#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/serial_date.h"

namespace dusklet {
namespace {

SerialDate At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return FromCivil({y, mo, d, h, mi, s}); }

void ExpectCivil(SerialDate d, int y, int mo, int day, int h, int mi, int s) {
    const CivilDateTime c = ToCivil(d);
    EXPECT_EQ(c.year, y);
    EXPECT_EQ(c.month, mo);
    EXPECT_EQ(c.day, day);
    EXPECT_EQ(c.hour, h);
    EXPECT_EQ(c.minute, mi);
    EXPECT_EQ(c.second, s);
}

TEST(SerialDate, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(At(1899, 12, 30), 0.0);
    EXPECT_EQ(At(1900, 1, 1), 2.0);
    EXPECT_EQ(At(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(At(2000, 1, 1, 12), 36526.5);
}

TEST(SerialDate, CivilRoundTripAcrossMonthYearAndLeapDays) {
    for (auto [y, m, d] : {std::tuple{2024, 2, 29}, {2026, 12, 31}, {2027, 1, 1}, {2100, 2, 28}, {2000, 2, 29}}) {
        ExpectCivil(At(y, m, d, 23, 59, 59), y, m, d, 23, 59, 59);
    }
    ExpectCivil(AddOneDay(At(2024, 2, 28, 8, 30)), 2024, 2, 29, 8, 30, 0);
    ExpectCivil(AddOneDay(At(2100, 2, 28, 8, 30)), 2100, 3, 1, 8, 30, 0);
    ExpectCivil(AddOneDay(At(2026, 12, 31, 0, 0)), 2027, 1, 1, 0, 0, 0);
}

TEST(SerialDate, AddingUnitsKeepsWholeSeconds) {
    const SerialDate armed = At(2026, 12, 7, 10, 15, 42);
    ExpectCivil(AddUnits(armed, TimeUnit::Minutes, 1), 2026, 12, 7, 10, 16, 42);
    ExpectCivil(AddUnits(armed, TimeUnit::Seconds, 999), 2026, 12, 7, 10, 32, 21);
    // 999 hours are 41 days and 15 hours.
    ExpectCivil(AddUnits(armed, TimeUnit::Hours, 999), 2027, 1, 18, 1, 15, 42);
    // Every second of a day, added one at a time, stays exact.
    SerialDate d = At(2026, 12, 31, 23, 59, 0);
    for (int i = 0; i < 86400; ++i) d = AddUnits(d, TimeUnit::Seconds, 1);
    ExpectCivil(d, 2027, 1, 1, 23, 59, 0);
}

TEST(SerialDate, SecondsBetweenIsExactAndSigned) {
    const SerialDate a = At(2026, 12, 7, 10, 15, 42);
    EXPECT_EQ(SecondsBetween(a, AddUnits(a, TimeUnit::Seconds, 42)), 42);
    EXPECT_EQ(SecondsBetween(AddUnits(a, TimeUnit::Seconds, 42), a), -42);
    EXPECT_EQ(SecondsBetween(a, AddUnits(a, TimeUnit::Hours, 999)), 999 * 3600);
    // A fraction that is not an exact double still counts as its whole second.
    EXPECT_EQ(SecondsBetween(46000.0, 46000.0 + 42.0 / 86400), 42);
}

TEST(SerialDate, MidnightAndDateOnly) {
    EXPECT_TRUE(IsMidnight(At(2026, 12, 8)));
    EXPECT_FALSE(IsMidnight(At(2026, 12, 8, 0, 0, 1)));
    EXPECT_EQ(DateOnly(At(2026, 12, 8, 23, 59, 59)), At(2026, 12, 8));
}

struct SlashFormat : DateTimeFormat {
    std::u16string ShortDate(const CivilDateTime&) override { return u"D"; }
    std::u16string LongTime(const CivilDateTime&) override { return u"T"; }
};

TEST(GeneralDate, LeavesOutTheTimeAtMidnightOnly) {
    SlashFormat f;
    EXPECT_EQ(GeneralDate(f, At(2026, 12, 8)), u"D");
    EXPECT_EQ(GeneralDate(f, At(2026, 12, 8, 0, 0, 1)), u"D T");
}

}  // namespace
}  // namespace dusklet
