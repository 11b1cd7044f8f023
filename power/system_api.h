// The operating system as version detection and the power actions use it, at
// the level of what they mean. The Windows build resolves what older versions
// lack at run time; tests put a recording fake in its place.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace dusklet {

// What the version query (GetVersionEx) reports; zeros when it fails.
struct OsVersion {
    uint32_t platformId = 0;  // 0 Win32s, 1 the Windows 95 family, 2 the NT family
    uint32_t major = 0, minor = 0;
};

// A system call's outcome: whether it did what was asked, and the system's
// last error, read right after the call.
struct CallResult {
    bool ok = true;
    uint32_t error = 0;
};

// What the machine can do as powrprof reports it (SYSTEM_POWER_CAPABILITIES).
struct PowerCapabilities {
    bool s1 = false, s2 = false, s3 = false;  // the sleeping states
    bool aoac = false;                        // always on, always connected: Modern Standby
};

constexpr uint32_t kEwxLogOff = 0;
constexpr uint32_t kEwxReboot = 2;
constexpr uint32_t kEwxForce = 4;
constexpr uint32_t kEwxPowerOff = 8;
// The reason ExitWindowsEx records for a shutdown (SHTDN_REASON_*); Windows
// before XP takes the argument as reserved and ignores it.
constexpr uint32_t kShtdnReasonMajorOther = 0;
constexpr uint32_t kShtdnReasonMinorOther = 0;
constexpr uint32_t kShtdnReasonFlagPlanned = 0x80000000;

class SystemApi {
public:
    virtual ~SystemApi() = default;
    virtual OsVersion Version() = 0;
    // Enables or disables the shutdown privilege in the process's token.
    virtual CallResult SetShutdownPrivilege(bool enable) = 0;
    // ExitWindowsEx with these flags and this reason.
    virtual CallResult ExitWindowsWith(uint32_t flags, uint32_t reason) = 0;
    // SetSuspendState: hibernate, or suspend.
    virtual CallResult Suspend(bool hibernate, bool forceCritical, bool disableWakeEvent) = 0;
    // LockWorkStation.
    virtual CallResult Lock() = 0;
    // The system's text for an error, in the user's language; empty when the
    // system has none.
    virtual std::u16string ErrorText(uint32_t error) = 0;
    // powrprof's answers; nothing where this Windows lacks the function.
    virtual std::optional<PowerCapabilities> Capabilities() = 0;
    virtual std::optional<bool> SuspendAllowed() = 0;
    virtual std::optional<bool> HibernateAllowed() = 0;
    // Turns the display off through the program's own window (SC_MONITORPOWER),
    // which lets a machine with Modern Standby enter its low-power idle.
    virtual void TurnOffDisplay() = 0;
};

}  // namespace dusklet
