// The 16-bit Booleans that the program keeps in its state and hands to the
// power actions: true = -1, false = 0; any nonzero value reads as true.
#pragma once
#include <cstdint>

namespace dusklet {

using Boolean = int16_t;
constexpr Boolean kTrue = -1;
constexpr Boolean kFalse = 0;
constexpr Boolean ToBoolean(bool b) { return b ? kTrue : kFalse; }

}  // namespace dusklet
