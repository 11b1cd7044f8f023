#include "power/shutdown.h"

#include "power/os_version.h"

namespace dusklet {
namespace {

using Outcome = PowerResult::Outcome;

// The result of a call that returned `result`, with the system's reason read
// at once when it failed (before anything else can overwrite it).
PowerResult Called(SystemApi& api, int32_t result) {
    if (result != 0) return {};
    return {Outcome::Failed, api.GetLastError()};
}

// The NT platform refuses power calls to a process whose shutdown privilege
// is not enabled: enable it for the call and disable it after, whatever the
// call returned.
template <class Call> PowerResult WithShutdownPrivilege(SystemApi& api, bool nt, Call call) {
    if (nt) SetShutdownPrivilege(api, kTrue);
    const PowerResult result = call();
    if (nt) SetShutdownPrivilege(api, kFalse);
    return result;
}

// Closes the token whichever way the privilege routine leaves.
class Token {
public:
    explicit Token(SystemApi& api) : api_(api) {}
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;
    ~Token() {
        if (handle) api_.CloseHandle(handle);
    }
    Handle handle = 0;

private:
    SystemApi& api_;
};

}  // namespace

uint32_t ComposeExitFlags(uint32_t flags, Boolean force) { return force ? flags | kEwxForce : flags; }

void SetShutdownPrivilege(SystemApi& api, Boolean enable) {
    Token token(api);
    api.OpenProcessToken(api.GetCurrentProcess(), kTokenAdjustPrivileges | kTokenQuery, token.handle);
    TokenPrivileges privileges;
    api.LookupPrivilegeValueA("", "SeShutdownPrivilege", privileges.luid);
    privileges.PrivilegeCount = 1;
    privileges.Attributes = enable ? kSePrivilegeEnabled : 0;
    TokenPrivileges previous;
    uint32_t returnLength = 0;
    api.AdjustTokenPrivileges(token.handle, 0, privileges, sizeof(TokenPrivileges), previous, returnLength);
}

PowerResult ExitWindowsAction(SystemApi& api, const int32_t& flags, const Boolean& force) {
    const uint32_t effective = ComposeExitFlags(static_cast<uint32_t>(flags), force);
    return WithShutdownPrivilege(api, GetOSInfo(api).PlatformId == 2,
                                 [&] { return Called(api, api.ExitWindowsEx(effective, 0)); });
}

namespace {

// Modern Standby: the system has no S1-S3, so it answers that it cannot
// suspend, yet it sleeps by idling with the display off.
bool ModernStandby(SystemApi& api) {
    const auto caps = api.GetPwrCapabilities();
    return caps && caps->aoac && !caps->s1 && !caps->s2 && !caps->s3;
}

PowerResult SuspendRefusal(SystemApi& api, const OSInfo& info, int32_t hibernate) {
    if (!VersionCanSuspend(info)) return {Outcome::NotOnThisVersion};
    const auto allowed = hibernate == 0 ? api.IsPwrSuspendAllowed() : api.IsPwrHibernateAllowed();
    if (allowed && !*allowed && !(hibernate == 0 && ModernStandby(api))) return {Outcome::NotOnThisMachine};
    return {};
}

}  // namespace

PowerResult SuspendRefusal(SystemApi& api, int32_t hibernate) { return SuspendRefusal(api, GetOSInfo(api), hibernate); }

PowerResult LockRefusal(SystemApi& api) {
    if (!VersionCanLock(GetOSInfo(api))) return {Outcome::NotOnThisVersion};
    return {};
}

PowerResult SuspendAction(SystemApi& api, const int32_t& hibernate, const Boolean& force, const Boolean& disableWake) {
    const OSInfo info = GetOSInfo(api);
    if (const PowerResult refusal = SuspendRefusal(api, info, hibernate); !refusal.Done()) return refusal;
    if (hibernate == 0 && ModernStandby(api)) {
        api.TurnOffDisplay();
        return {};
    }
    return WithShutdownPrivilege(api, info.PlatformId == 2, [&] {
        return Called(api, api.SetSuspendState(hibernate != 0, force != 0, disableWake != 0));
    });
}

PowerResult LockAction(SystemApi& api) {
    if (const PowerResult refusal = LockRefusal(api); !refusal.Done()) return refusal;
    return Called(api, api.LockWorkStation());
}

}  // namespace dusklet
