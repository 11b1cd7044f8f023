#include "power/os_version.h"

#include "base/number_text.h"

namespace dusklet {

OSInfo ClassifyOS(const OsVersionRecord& r) {
    OSInfo info;
    info.BuildNumber = r.dwBuildNumber;
    info.MajorVersion = r.dwMajorVersion;
    info.Version = DecimalText(static_cast<int32_t>(r.dwMajorVersion)) + u"." +
                   DecimalText(static_cast<int32_t>(r.dwMinorVersion));
    switch (r.dwPlatformId) {
    case 1:
        info.PlatformId = 1;
        if (r.dwMinorVersion == 0) info.OSType = Win95;
        else if (r.dwMinorVersion == 10) info.OSType = Win98;
        else if (r.dwMinorVersion == 90) info.OSType = WinME;
        break;
    case 2:
        info.PlatformId = 2;
        if (r.dwMajorVersion < 5) info.OSType = WinNT;
        else if (r.dwMajorVersion == 5 && r.dwMinorVersion == 0) info.OSType = Win2000;
        else if (r.dwMajorVersion == 5 && r.dwMinorVersion == 1) info.OSType = WinXP;
        break;
    default:  // 0 (Win32s) and unknown platforms
        break;
    }
    return info;
}

const char16_t* OSTypeName(int32_t type) {
    switch (type) {
    case Win95: return u"Windows 95";
    case Win98: return u"Windows 98";
    case WinME: return u"Windows ME";
    case WinNT: return u"Windows NT";
    case Win2000: return u"Windows 2000";
    case WinXP: return u"Windows XP";
    default: return u"Windows 32";
    }
}

bool IsModernNT(const OSInfo& info) { return info.PlatformId == 2 && info.MajorVersion >= 5; }
bool VersionCanLock(const OSInfo& info) { return IsModernNT(info); }
bool VersionCanSuspend(const OSInfo& info) { return info.OSType == Win98 || info.OSType == WinME || IsModernNT(info); }

OSInfo GetOSInfo(SystemApi& api) {
    OsVersionRecord record;
    api.GetVersionExA(record);
    return ClassifyOS(record);
}

std::u16string GetOSName(SystemApi& api) { return OSTypeName(GetOSInfo(api).OSType); }

}  // namespace dusklet
