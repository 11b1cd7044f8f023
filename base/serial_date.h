// Date-times as serial numbers: days since 30 December 1899, the fraction
// being the time of day, in local time. All arithmetic goes through whole
// seconds so that adding and subtracting never drifts by a second.
#pragma once
#include <cstdint>

namespace dusklet {

using SerialDate = double;

struct CivilDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

constexpr int64_t kSecondsPerDay = 86400;

// Whole seconds since 30 December 1899 00:00:00, rounded to the nearest second.
int64_t ToSeconds(SerialDate d);
SerialDate FromSeconds(int64_t seconds);

SerialDate FromCivil(const CivilDateTime& c);
CivilDateTime ToCivil(SerialDate d);

enum class TimeUnit { Hours, Minutes, Seconds };

SerialDate AddUnits(SerialDate d, TimeUnit unit, int64_t amount);
SerialDate AddOneDay(SerialDate d);
// Whole seconds from `from` to `to` (positive when `to` lies later).
int64_t SecondsBetween(SerialDate from, SerialDate to);
// Midnight of the day that holds `d`.
SerialDate DateOnly(SerialDate d);
bool IsMidnight(SerialDate d);

}  // namespace dusklet
