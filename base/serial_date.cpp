#include "base/serial_date.h"

#include <cmath>

namespace dusklet {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kEpochDays = -25569;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int64_t ToSeconds(SerialDate d) { return static_cast<int64_t>(std::llround(d * kSecondsPerDay)); }

SerialDate FromSeconds(int64_t seconds) {
    // Days and seconds of the day are computed apart so the fraction is the
    // closest double to the time of day, as a clock reading would give.
    const int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const int64_t rest = seconds - days * kSecondsPerDay;
    return static_cast<double>(days) + static_cast<double>(rest) / kSecondsPerDay;
}

SerialDate FromCivil(const CivilDateTime& c) {
    const int64_t days =
        DaysFromCivil(c.year, static_cast<unsigned>(c.month), static_cast<unsigned>(c.day)) - kEpochDays;
    return FromSeconds(days * kSecondsPerDay + c.hour * 3600 + c.minute * 60 + c.second);
}

CivilDateTime ToCivil(SerialDate d) {
    const int64_t s = ToSeconds(d);
    const int64_t days = FloorDiv(s, kSecondsPerDay);
    int64_t rest = s - days * kSecondsPerDay;
    CivilDateTime c;
    CivilFromDays(days + kEpochDays, c.year, c.month, c.day);
    c.hour = static_cast<int>(rest / 3600);
    rest %= 3600;
    c.minute = static_cast<int>(rest / 60);
    c.second = static_cast<int>(rest % 60);
    return c;
}

SerialDate AddUnits(SerialDate d, TimeUnit unit, int64_t amount) {
    const int64_t scale = unit == TimeUnit::Hours ? 3600 : unit == TimeUnit::Minutes ? 60 : 1;
    return FromSeconds(ToSeconds(d) + amount * scale);
}

SerialDate AddOneDay(SerialDate d) { return FromSeconds(ToSeconds(d) + kSecondsPerDay); }

int64_t SecondsBetween(SerialDate from, SerialDate to) { return ToSeconds(to) - ToSeconds(from); }

SerialDate DateOnly(SerialDate d) { return FromSeconds(FloorDiv(ToSeconds(d), kSecondsPerDay) * kSecondsPerDay); }

bool IsMidnight(SerialDate d) { return ToSeconds(d) % kSecondsPerDay == 0; }

}  // namespace dusklet
