#include "base/civil_time.h"

namespace dusklet {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's
// algorithm), in 32 bits: a day count fits, and the 32-bit program then needs
// no 64-bit division.
int32_t DaysFromCivil(int32_t y, int32_t m, int32_t d) {
    y -= m <= 2;
    const int32_t era = (y >= 0 ? y : y - 399) / 400;
    const int32_t yoe = y - era * 400;
    const int32_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int32_t z, int& y, int& m, int& d) {
    z += 719468;
    const int32_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int32_t doe = z - era * 146097;
    const int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int32_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

// The whole days before a moment: the program's one 64-bit division (kept
// apart, so that the remainder is a product taken away rather than a second
// division).
[[gnu::noinline]] int32_t DaysBefore(int64_t seconds) {
    const int64_t days = seconds / kSecondsPerDay;
    return static_cast<int32_t>(days * kSecondsPerDay > seconds ? days - 1 : days);
}

}  // namespace

int64_t SecondsFromCivil(const CivilDateTime& c) {
    return int64_t{DaysFromCivil(c.year, c.month, c.day)} * kSecondsPerDay + c.hour * 3600 + c.minute * 60 + c.second;
}

CivilDateTime CivilFromSeconds(int64_t seconds) {
    const int32_t days = DaysBefore(seconds);
    int32_t rest = static_cast<int32_t>(seconds - int64_t{days} * kSecondsPerDay);
    CivilDateTime c;
    CivilFromDays(days, c.year, c.month, c.day);
    c.hour = rest / 3600;
    rest %= 3600;
    c.minute = rest / 60;
    c.second = rest % 60;
    return c;
}

int DayOfWeek(const CivilDateTime& c) { return (DaysFromCivil(c.year, c.month, c.day) % 7 + 11) % 7; }

CivilDateTime DateOnly(const CivilDateTime& c) { return {c.year, c.month, c.day, 0, 0, 0}; }

CivilDateTime NextDay(const CivilDateTime& c) { return CivilFromSeconds(SecondsFromCivil(c) + kSecondsPerDay); }

}  // namespace dusklet
