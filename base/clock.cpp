#include "base/clock.h"

namespace dusklet {

std::u16string GeneralDate(DateTimeFormat& format, const CivilDateTime& c) {
    std::u16string text = format.ShortDate(c);
    if (c != DateOnly(c)) {
        text += u' ';
        text += format.LongTime(c);
    }
    return text;
}

}  // namespace dusklet
