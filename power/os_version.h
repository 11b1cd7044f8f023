// Classification of the running Windows version.
#pragma once
#include <cstdint>
#include <string>

#include "power/system_api.h"

namespace dusklet {

enum OSType : int32_t {
    Win32 = 0,  // Win32s and every version not recognised
    Win95 = 1,
    Win98 = 2,
    WinME = 3,
    WinNT = 4,
    Win2000 = 5,
    WinXP = 6,
};

struct OSInfo {
    int32_t PlatformId = 0;
    int32_t OSType = Win32;
    uint32_t BuildNumber = 0;
    std::u16string Version;
};

// The pure part: platform, type and version text from the query's record.
OSInfo ClassifyOS(const OsVersionRecord& record);
const char16_t* OSTypeName(int32_t type);

// Query the system afresh on every call.
OSInfo GetOSInfo(SystemApi& api);
std::u16string GetOSName(SystemApi& api);

}  // namespace dusklet
