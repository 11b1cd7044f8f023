#include "power/os_version.h"

namespace dusklet {

OSInfo ClassifyOS(OsVersion v) {
    OSInfo info;
    info.MajorVersion = v.major;
    switch (v.platformId) {
    case 1:
        info.PlatformId = 1;
        if (v.minor == 0) info.OSType = Win95;
        else if (v.minor == 10) info.OSType = Win98;
        else if (v.minor == 90) info.OSType = WinME;
        break;
    case 2:
        info.PlatformId = 2;
        if (v.major < 5) info.OSType = WinNT;
        else if (v.major == 5 && v.minor == 0) info.OSType = Win2000;
        else if (v.major == 5 && v.minor == 1) info.OSType = WinXP;
        break;
    default:  // 0 (Win32s) and unknown platforms
        break;
    }
    return info;
}

bool IsModernNT(OSInfo info) { return info.PlatformId == 2 && info.MajorVersion >= 5; }
bool VersionCanLock(OSInfo info) { return IsModernNT(info); }
bool VersionCanSuspend(OSInfo info) { return info.OSType == Win98 || info.OSType == WinME || IsModernNT(info); }

OSInfo GetOSInfo(SystemApi& api) { return ClassifyOS(api.Version()); }

}  // namespace dusklet
