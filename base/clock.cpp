#include "base/clock.h"

namespace dusklet {

std::u16string GeneralDate(DateTimeFormat& format, SerialDate d) {
    const CivilDateTime c = ToCivil(d);
    std::u16string text = format.ShortDate(c);
    if (!IsMidnight(d)) {
        text += u' ';
        text += format.LongTime(c);
    }
    return text;
}

}  // namespace dusklet
