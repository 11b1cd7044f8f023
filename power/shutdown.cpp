#include "power/shutdown.h"

#include "power/os_version.h"

namespace dusklet {

uint32_t ComposeExitFlags(uint32_t flags, Boolean force) { return force ? flags | kEwxForce : flags; }

void SetShutdownPrivilege(SystemApi& api, Boolean enable) {
    Handle token = 0;
    api.OpenProcessToken(api.GetCurrentProcess(), kTokenAdjustPrivileges | kTokenQuery, token);
    TokenPrivileges privileges;
    api.LookupPrivilegeValueA("", "SeShutdownPrivilege", privileges.luid);
    privileges.PrivilegeCount = 1;
    privileges.Attributes = enable ? kSePrivilegeEnabled : 0;
    TokenPrivileges previous;
    uint32_t returnLength = 0;
    api.AdjustTokenPrivileges(token, 0, privileges, sizeof(TokenPrivileges), previous, returnLength);
    // Nothing reads the token afterwards; don't leak a handle per call.
    if (token) api.CloseHandle(token);
}

Boolean ExitWindowsAction(SystemApi& api, const int32_t& flags, const Boolean& force) {
    const uint32_t effective = ComposeExitFlags(static_cast<uint32_t>(flags), force);
    if (GetOSInfo(api).PlatformId == 2) {
        SetShutdownPrivilege(api, kTrue);
        const bool ok = api.ExitWindowsEx(effective, 0) != 0;
        SetShutdownPrivilege(api, kFalse);
        return ToBoolean(ok);
    }
    return ToBoolean(api.ExitWindowsEx(effective, 0) != 0);
}

Boolean SuspendAction(SystemApi& api, const int32_t& hibernate, const Boolean& force, const Boolean& disableWake) {
    const OSInfo info = GetOSInfo(api);
    if (info.OSType == Win32 || info.OSType == Win95 || info.OSType == WinNT) return kFalse;
    // The NT platform refuses to suspend a process whose shutdown privilege is
    // not enabled, so the call is bracketed there as for ExitWindowsEx.
    const bool nt = info.PlatformId == 2;
    if (nt) SetShutdownPrivilege(api, kTrue);
    const bool ok = api.SetSuspendState(hibernate != 0, force != 0, disableWake != 0) != 0;
    if (nt) SetShutdownPrivilege(api, kFalse);
    return ToBoolean(ok);
}

Boolean LockAction(SystemApi& api) {
    const int32_t type = GetOSInfo(api).OSType;
    if (type != Win2000 && type != WinXP) return kFalse;
    return ToBoolean(api.LockWorkStation() != 0);
}

}  // namespace dusklet
