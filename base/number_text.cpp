#include "base/number_text.h"

#include <cmath>
#include <limits>

namespace dusklet {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5) return floor + 1;
    if (diff < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

template <class Int> Int RoundSaturated(double value) {
    if (std::isnan(value)) return 0;
    const double r = RoundHalfEven(value);
    if (r >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (r <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return static_cast<Int>(r);
}

}  // namespace

double LeadingNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    double value = 0;
    bool any = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - u'0');
        any = true;
    }
    if (i < text.size() && text[i] == u'.') {
        double scale = 0.1;
        for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) {
            value += (text[i] - u'0') * scale;
            any = true;
        }
    }
    if (!any) return 0;
    return negative ? -value : value;
}

int16_t RoundToInt16(double value) { return RoundSaturated<int16_t>(value); }
int32_t RoundToInt32(double value) { return RoundSaturated<int32_t>(value); }

std::u16string DecimalText(int32_t value) {
    char16_t buf[12];
    int n = 0;
    const bool negative = value < 0;
    uint32_t v = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        buf[n++] = static_cast<char16_t>(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    std::u16string text;
    if (negative) text += u'-';
    while (n > 0) text += buf[--n];
    return text;
}

std::u16string TwoDigitText(int32_t value) {
    std::u16string text = DecimalText(value);
    if (value >= 0 && text.size() < 2) text.insert(text.begin(), u'0');
    return text;
}

std::u16string Joined(std::initializer_list<std::u16string_view> pieces) {
    std::u16string text;
    for (std::u16string_view piece : pieces) text += piece;
    return text;
}

}  // namespace dusklet
