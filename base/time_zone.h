// Local wall-clock time: how a time zone turns a moment into the date and
// time its clocks show, and which moment a wall time the user picks stands
// for, where the clocks jump forward over it or go back over it.
#pragma once
#include <cstdint>

#include "base/civil_time.h"

namespace dusklet {

// Where the zone's wall clock stands at a moment. The Windows build asks the
// system; the tests and Windows without the system's conversion use ZoneRules.
class TimeZone {
public:
    virtual ~TimeZone() = default;
    virtual CivilDateTime ToLocal(int64_t utc) = 0;
};

// A change of the zone's clocks as the system describes it (a SYSTEMTIME of
// TIME_ZONE_INFORMATION): with `year` 0, every year on the `day`-th (1 to 4,
// or 5 for the last) `dayOfWeek` (0 Sunday) of `month`, at the local time
// given; otherwise on that date of that year.
struct ZoneChange {
    int year = 0, month = 0, dayOfWeek = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

// A zone's rules as the system describes them (TIME_ZONE_INFORMATION). The
// biases are minutes: UTC = local time + bias + the standard or daylight
// bias. Daylight time begins at `daylightDate` (read in standard time) and
// ends at `standardDate` (read in daylight time); month 0 in either means
// the zone keeps standard time all year.
struct ZoneRules {
    int32_t bias = 0, standardBias = 0, daylightBias = 0;
    ZoneChange standardDate, daylightDate;
};

// Seconds to add to a UTC moment to get the zone's wall-clock time then.
int64_t OffsetAt(const ZoneRules& rules, int64_t utc);

class RulesZone : public TimeZone {
public:
    explicit RulesZone(const ZoneRules& rules) : rules_(rules) {}
    CivilDateTime ToLocal(int64_t utc) override;

private:
    ZoneRules rules_;
};

// The moment at which the zone's wall clock reads `wall`. A wall time that
// the clocks pass twice (going back) is the first of the two that is not
// before `notBefore`, or the first when both are; one that they jump over
// (going forward) is the moment of the jump.
int64_t MomentOfWallTime(TimeZone& zone, const CivilDateTime& wall, int64_t notBefore);

}  // namespace dusklet
