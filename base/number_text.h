// Reading numbers out of the texts the user types or pastes, writing them
// back, and putting texts together.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace dusklet {

// The decimal number at the start of the text (after leading blanks, with an
// optional sign and fraction), 0 when the text does not start with one.
double LeadingNumber(std::u16string_view text);

// Nearest integer, halves to the even neighbour, saturated to the type's range.
int16_t RoundToInt16(double value);
int32_t RoundToInt32(double value);

std::u16string DecimalText(int32_t value);
// Two digits with a leading zero below 10 ("07"); larger values print in full.
std::u16string TwoDigitText(int32_t value);

// The pieces one after another: one call where a chain of + would make a
// string for each step.
std::u16string Joined(std::initializer_list<std::u16string_view> pieces);

}  // namespace dusklet
