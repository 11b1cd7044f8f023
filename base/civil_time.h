// Moments as whole seconds on a line that counts from 1970-01-01 00:00:00 UTC,
// and the calendar date and time of day that a moment reads as. The same
// conversion serves UTC and a local wall clock: a local date-time is held as
// the seconds it would be if it were UTC, so that adding a day or comparing
// two wall times is plain arithmetic.
#pragma once
#include <cstdint>

namespace dusklet {

struct CivilDateTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const CivilDateTime&) const = default;
};

constexpr int64_t kSecondsPerDay = 86400;

int64_t SecondsFromCivil(const CivilDateTime& c);
CivilDateTime CivilFromSeconds(int64_t seconds);

// 0 for Sunday to 6 for Saturday.
int DayOfWeek(const CivilDateTime& c);
// Midnight of the same date.
CivilDateTime DateOnly(const CivilDateTime& c);
// The same time of day on the next date.
CivilDateTime NextDay(const CivilDateTime& c);

}  // namespace dusklet
