#include "power/shutdown.h"

#include "power/os_version.h"

namespace dusklet {
namespace {

using Outcome = PowerResult::Outcome;

PowerResult Called(CallResult call) {
    if (call.ok) return {};
    return {Outcome::Failed, call.error};
}

// The NT family refuses power calls to a process whose shutdown privilege is
// not enabled: it is enabled for the call and disabled after, whatever the
// call returned. Where it cannot be enabled the call is still made (logging
// off needs no privilege); if that fails too, the privilege's error is the
// reason given, as the cause.
template <class Call> PowerResult WithShutdownPrivilege(SystemApi& api, bool nt, Call call) {
    const CallResult enabled = nt ? api.SetShutdownPrivilege(true) : CallResult{};
    PowerResult result = Called(call());
    if (!enabled.ok) {
        if (!result.Done()) result.error = enabled.error;
        return result;
    }
    if (nt) api.SetShutdownPrivilege(false);
    return result;
}

// Modern Standby: the system has no S1-S3, so it answers that it cannot
// suspend, yet it sleeps by idling with the display off.
bool ModernStandby(SystemApi& api) {
    const auto caps = api.Capabilities();
    return caps && caps->aoac && !caps->s1 && !caps->s2 && !caps->s3;
}

PowerResult SuspendRefusal(SystemApi& api, OSInfo info, bool hibernate) {
    if (!VersionCanSuspend(info)) return {Outcome::NotOnThisVersion};
    const auto allowed = hibernate ? api.HibernateAllowed() : api.SuspendAllowed();
    if (allowed && !*allowed && (hibernate || !ModernStandby(api))) return {Outcome::NotOnThisMachine};
    return {};
}

}  // namespace

uint32_t ComposeExitFlags(uint32_t flags, bool force) { return force ? flags | kEwxForce : flags; }

PowerResult ExitWindowsAction(SystemApi& api, uint32_t flags, bool force) {
    const uint32_t effective = ComposeExitFlags(flags, force);
    return WithShutdownPrivilege(api, GetOSInfo(api).PlatformId == 2,
                                 [&] { return api.ExitWindowsWith(effective, kExitReason); });
}

PowerResult SuspendRefusal(SystemApi& api, bool hibernate) { return SuspendRefusal(api, GetOSInfo(api), hibernate); }

PowerResult LockRefusal(SystemApi& api) {
    if (!VersionCanLock(GetOSInfo(api))) return {Outcome::NotOnThisVersion};
    return {};
}

PowerResult SuspendAction(SystemApi& api, bool hibernate, bool force, bool disableWake) {
    const OSInfo info = GetOSInfo(api);
    if (const PowerResult refusal = SuspendRefusal(api, info, hibernate); !refusal.Done()) return refusal;
    if (!hibernate && ModernStandby(api)) {
        api.TurnOffDisplay();
        return {};
    }
    return WithShutdownPrivilege(api, info.PlatformId == 2, [&] { return api.Suspend(hibernate, force, disableWake); });
}

PowerResult LockAction(SystemApi& api) {
    if (const PowerResult refusal = LockRefusal(api); !refusal.Done()) return refusal;
    return Called(api.Lock());
}

}  // namespace dusklet
