#include "base/time_zone.h"

#include <algorithm>

namespace dusklet {
namespace {

// The wall-clock moment of a change in `year`, as seconds read as UTC.
int64_t ChangeIn(const ZoneChange& change, int year) {
    CivilDateTime at = {change.year, change.month, change.day, change.hour, change.minute, change.second};
    if (change.year != 0) return SecondsFromCivil(at);
    at.year = year;
    at.day = 1;
    const int first = 1 + (change.dayOfWeek - DayOfWeek(at) + 7) % 7;
    at.day = first + 7 * (std::clamp(change.day, 1, 5) - 1);
    while (CivilFromSeconds(SecondsFromCivil(at)).month != change.month) at.day -= 7;  // "the fifth" is the last
    return SecondsFromCivil(at);
}

}  // namespace

int64_t OffsetAt(const ZoneRules& rules, int64_t utc) {
    const int64_t standard = -int64_t{rules.bias + rules.standardBias} * 60;
    if (rules.standardDate.month == 0 || rules.daylightDate.month == 0) return standard;
    const int64_t daylight = -int64_t{rules.bias + rules.daylightBias} * 60;
    const int year = CivilFromSeconds(utc + standard).year;
    const int64_t begins = ChangeIn(rules.daylightDate, year) - standard;
    const int64_t ends = ChangeIn(rules.standardDate, year) - daylight;
    // South of the equator daylight time spans the turn of the year.
    const bool inDaylight = begins < ends ? utc >= begins && utc < ends : utc >= begins || utc < ends;
    return inDaylight ? daylight : standard;
}

CivilDateTime RulesZone::ToLocal(int64_t utc) { return CivilFromSeconds(utc + OffsetAt(rules_, utc)); }

int64_t MomentOfWallTime(TimeZone& zone, const CivilDateTime& wall, int64_t notBefore) {
    const int64_t local = SecondsFromCivil(wall);
    const auto reads = [&](int64_t utc) { return SecondsFromCivil(zone.ToLocal(utc)); };
    // The moments that would read `wall` under the offsets in force a day
    // before and a day after: no zone changes its clocks twice within two days.
    const int64_t early = local - (reads(local - kSecondsPerDay) - (local - kSecondsPerDay));
    const int64_t late = local - (reads(local + kSecondsPerDay) - (local + kSecondsPerDay));
    const int64_t first = std::min(early, late), second = std::max(early, late);
    const bool firstReads = reads(first) == local, secondReads = reads(second) == local;
    if (firstReads && secondReads) return first >= notBefore || second < notBefore ? first : second;
    if (firstReads) return first;
    if (secondReads) return second;
    // Jumped over: `first` reads before the wall time and `second` after it;
    // the jump is the first moment that reads after it.
    int64_t before = first, after = second;
    while (after - before > 1) {
        const int64_t middle = before + (after - before) / 2;
        (reads(middle) > local ? after : before) = middle;
    }
    return after;
}

}  // namespace dusklet
