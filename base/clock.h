// The local clock, injected so that the schedule can be tested at any moment.
#pragma once
#include <string>

#include "base/serial_date.h"

namespace dusklet {

class Clock {
public:
    virtual ~Clock() = default;
    // The local wall-clock time, to whole seconds.
    virtual CivilDateTime Now() = 0;
};

// The user's date and time forms.
class DateTimeFormat {
public:
    virtual ~DateTimeFormat() = default;
    virtual std::u16string ShortDate(const CivilDateTime& c) = 0;
    virtual std::u16string LongTime(const CivilDateTime& c) = 0;
};

inline SerialDate NowSerial(Clock& clock) { return FromCivil(clock.Now()); }

// The general date-time form: short date, a blank and the long time; the time
// is left out at exactly midnight.
std::u16string GeneralDate(DateTimeFormat& format, SerialDate d);

}  // namespace dusklet
