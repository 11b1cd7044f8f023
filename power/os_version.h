// Classification of the running Windows version.
#pragma once
#include <cstdint>

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
    uint32_t MajorVersion = 0;  // what the power gates read beyond the type
};

// The NT family from Windows 2000 on (NT 5.0 and later, Windows 11 included),
// whatever its type reads: where locking and the power states are the system's own.
bool IsModernNT(OSInfo info);
// Which Windows versions have each action: locking on the modern NT family;
// suspend and hibernate there and on Windows 98 and ME, not on 95 or NT 4.
bool VersionCanLock(OSInfo info);
bool VersionCanSuspend(OSInfo info);

// The pure part: platform and type from what the query reports.
OSInfo ClassifyOS(OsVersion version);

// Queries the system afresh on every call.
OSInfo GetOSInfo(SystemApi& api);

}  // namespace dusklet
