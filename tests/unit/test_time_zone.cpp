// Zone rules as Windows gives them, and which moment a wall time stands for
// across the changes of the clocks.
#include <gtest/gtest.h>

#include "base/time_zone.h"
#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

namespace zones = testing::zones;
using testing::Utc;

TEST(ZoneRules, TheOffsetChangesAtTheSecondOfEachChange) {
    struct Case {
        const char* zone;
        ZoneRules rules;
        int64_t utc;
        int hours;  // the offset from then on
    };
    const Case cases[] = {
        {"New York", zones::kNewYork, Utc(2026, 3, 8, 6, 59, 59), -5},  // 2nd Sunday of March, 02:00
        {"New York", zones::kNewYork, Utc(2026, 3, 8, 7, 0), -4},
        {"New York", zones::kNewYork, Utc(2026, 11, 1, 5, 59, 59), -4},  // 1st Sunday of November, 02:00
        {"New York", zones::kNewYork, Utc(2026, 11, 1, 6, 0), -5},
        {"Berlin", zones::kBerlin, Utc(2026, 3, 29, 0, 59, 59), 1},  // last Sunday of March, 02:00
        {"Berlin", zones::kBerlin, Utc(2026, 3, 29, 1, 0), 2},
        {"Berlin", zones::kBerlin, Utc(2026, 10, 25, 0, 59, 59), 2},  // last Sunday of October, 03:00
        {"Berlin", zones::kBerlin, Utc(2026, 10, 25, 1, 0), 1},
        {"Sydney", zones::kSydney, Utc(2026, 4, 4, 15, 59, 59), 11},  // 1st Sunday of April, 03:00
        {"Sydney", zones::kSydney, Utc(2026, 4, 4, 16, 0), 10},
        {"Sydney", zones::kSydney, Utc(2026, 10, 3, 15, 59, 59), 10},  // 1st Sunday of October, 02:00
        {"Sydney", zones::kSydney, Utc(2026, 10, 3, 16, 0), 11},
        {"Sydney", zones::kSydney, Utc(2026, 12, 31, 12, 0), 11},  // summer spans the new year
        {"China", zones::kChina, Utc(2026, 7, 1, 0, 0), 8},
    };
    for (const Case& c : cases) EXPECT_EQ(OffsetAt(c.rules, c.utc), c.hours * 3600) << c.zone << " " << c.utc;
}

TEST(ZoneRules, AChangeOnAGivenDateAppliesInItsYear) {
    ZoneRules once = zones::kNewYork;
    once.daylightDate = {2026, 4, 0, 10, 2, 0, 0};  // 10 April 2026 at 02:00
    EXPECT_EQ(OffsetAt(once, Utc(2026, 4, 10, 6, 59, 59)), -5 * 3600);
    EXPECT_EQ(OffsetAt(once, Utc(2026, 4, 10, 7, 0)), -4 * 3600);
}

TEST(WallTime, OrdinaryTwiceAndSkippedTimes) {
    struct Case {
        const char* what;
        ZoneRules rules;
        CivilDateTime wall;
        int64_t notBefore, moment;
    };
    const int64_t early = Utc(2026, 1, 1, 0, 0);
    const Case cases[] = {
        {"ordinary", zones::kBerlin, {2026, 12, 8, 22, 30, 0}, early, Utc(2026, 12, 8, 21, 30)},
        {"in the jump: its moment", zones::kNewYork, {2026, 3, 8, 2, 30, 0}, early, Utc(2026, 3, 8, 7, 0)},
        {"at the jump", zones::kNewYork, {2026, 3, 8, 3, 0, 0}, early, Utc(2026, 3, 8, 7, 0)},
        {"twice: the first", zones::kNewYork, {2026, 11, 1, 1, 30, 0}, early, Utc(2026, 11, 1, 5, 30)},
        {"twice, the first past",
         zones::kNewYork,
         {2026, 11, 1, 1, 30, 0},
         Utc(2026, 11, 1, 5, 45),
         Utc(2026, 11, 1, 6, 30)},
        {"twice, both past", zones::kNewYork, {2026, 11, 1, 1, 30, 0}, Utc(2026, 11, 2, 0, 0), Utc(2026, 11, 1, 5, 30)},
        {"Sydney's jump", zones::kSydney, {2026, 10, 4, 2, 15, 0}, early, Utc(2026, 10, 3, 16, 0)},
        {"Sydney twice", zones::kSydney, {2026, 4, 5, 2, 30, 0}, early, Utc(2026, 4, 4, 15, 30)},
    };
    for (const Case& c : cases) {
        RulesZone zone(c.rules);
        EXPECT_EQ(MomentOfWallTime(zone, c.wall, c.notBefore), c.moment) << c.what;
    }
}

}  // namespace
}  // namespace dusklet
