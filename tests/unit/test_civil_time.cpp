#include <gtest/gtest.h>

#include "base/civil_time.h"
#include "base/clock.h"

namespace dusklet {
namespace {

int64_t At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return SecondsFromCivil({y, mo, d, h, mi, s}); }

TEST(CivilTime, CountsSecondsFrom1970) {
    EXPECT_EQ(At(1970, 1, 1), 0);
    EXPECT_EQ(At(2000, 1, 1), 946684800);
    EXPECT_EQ(At(2038, 1, 19, 3, 14, 8), int64_t{1} << 31);  // past 32 bits
    EXPECT_EQ(At(1969, 12, 31, 23, 59, 59), -1);
}

TEST(CivilTime, RoundTripsAcrossMonthsYearsAndLeapDays) {
    for (auto [y, m, d] : {std::tuple{2024, 2, 29},
                           {2026, 12, 31},
                           {2027, 1, 1},
                           {2100, 2, 28},
                           {2000, 2, 29},
                           {1899, 12, 30},
                           {2200, 3, 1}}) {
        const CivilDateTime c = {y, m, d, 23, 59, 59};
        EXPECT_EQ(CivilFromSeconds(SecondsFromCivil(c)), c) << y << "-" << m << "-" << d;
    }
    EXPECT_EQ(NextDay({2024, 2, 28, 8, 30, 0}), (CivilDateTime{2024, 2, 29, 8, 30, 0}));
    EXPECT_EQ(NextDay({2100, 2, 28, 8, 30, 0}), (CivilDateTime{2100, 3, 1, 8, 30, 0}));
    EXPECT_EQ(NextDay({2026, 12, 31, 0, 0, 0}), (CivilDateTime{2027, 1, 1, 0, 0, 0}));
    // 999 hours are 41 days and 15 hours.
    EXPECT_EQ(CivilFromSeconds(At(2026, 12, 7, 10, 15, 42) + 999 * 3600), (CivilDateTime{2027, 1, 18, 1, 15, 42}));
    EXPECT_EQ(DateOnly({2026, 12, 8, 23, 59, 59}), (CivilDateTime{2026, 12, 8, 0, 0, 0}));
}

TEST(CivilTime, DaysOfTheWeek) {
    EXPECT_EQ(DayOfWeek({1970, 1, 1}), 4);  // a Thursday
    EXPECT_EQ(DayOfWeek({2026, 12, 8}), 2);
    EXPECT_EQ(DayOfWeek({2026, 3, 8}), 0);
    EXPECT_EQ(DayOfWeek({1969, 12, 28}), 0);
}

struct LetterFormat : DateTimeFormat {
    std::u16string ShortDate(const CivilDateTime&) override { return u"D"; }
    std::u16string LongTime(const CivilDateTime&) override { return u"T"; }
};

TEST(GeneralDate, LeavesOutTheTimeAtMidnightOnly) {
    LetterFormat f;
    EXPECT_EQ(GeneralDate(f, {2026, 12, 8, 0, 0, 0}), u"D");
    EXPECT_EQ(GeneralDate(f, {2026, 12, 8, 0, 0, 1}), u"D T");
}

}  // namespace
}  // namespace dusklet
