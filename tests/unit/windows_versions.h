// The Windows versions the tests run the program's logic on: what the
// version query reports on each, and which of the version-gated actions
// each has (locking; suspend and hibernate).
#pragma once
#include <cstdint>

namespace dusklet::testing {

struct WindowsVersion {
    const char* name;
    uint32_t platform, major, minor;
    bool lock, suspend;
};

inline constexpr WindowsVersion kWindowsVersions[] = {
    {"95", 1, 4, 0, false, false},   {"98", 1, 4, 10, false, true},  {"ME", 1, 4, 90, false, true},
    {"NT 4", 2, 4, 0, false, false}, {"2000", 2, 5, 0, true, true},  {"XP", 2, 5, 1, true, true},
    {"2003", 2, 5, 2, true, true},   {"Vista", 2, 6, 0, true, true}, {"7", 2, 6, 1, true, true},
    {"8", 2, 6, 2, true, true},      {"10", 2, 10, 0, true, true},
};

}  // namespace dusklet::testing
