// The clock and the user's date and time forms, injected so that the
// schedule can be tested at any moment.
#pragma once
#include <cstdint>
#include <string>

#include "base/civil_time.h"

namespace dusklet {

class Clock {
public:
    virtual ~Clock() = default;
    // Now, in whole seconds since 1970-01-01 00:00:00 UTC.
    virtual int64_t Now() = 0;
};

// The user's date and time forms.
class DateTimeFormat {
public:
    virtual ~DateTimeFormat() = default;
    virtual std::u16string ShortDate(const CivilDateTime& c) = 0;
    virtual std::u16string LongTime(const CivilDateTime& c) = 0;
};

// The general date-time form: short date, a blank and the long time; the time
// is left out at exactly midnight.
std::u16string GeneralDate(DateTimeFormat& format, const CivilDateTime& c);

}  // namespace dusklet
