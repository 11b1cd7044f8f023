// The operating-system entry points that version detection and the power
// actions use. The Windows build resolves the ones that older versions lack
// at run time; tests put a recording fake in their place.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace dusklet {

using Handle = uintptr_t;

// OSVERSIONINFOA as the version query fills it (148 bytes on Windows; the
// service-pack text is not used).
struct OsVersionRecord {
    uint32_t dwOSVersionInfoSize = 148;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
    uint32_t dwBuildNumber = 0;
    uint32_t dwPlatformId = 0;
};

struct Luid {
    uint32_t LowPart = 0;
    int32_t HighPart = 0;
};

// TOKEN_PRIVILEGES with exactly one entry (16 bytes).
struct TokenPrivileges {
    uint32_t PrivilegeCount = 0;
    Luid luid;
    uint32_t Attributes = 0;
};

// What the machine can do as powrprof reports it (SYSTEM_POWER_CAPABILITIES).
struct PowerCapabilities {
    bool s1 = false, s2 = false, s3 = false;  // the sleeping states
    bool s4 = false;                          // hibernation
    bool aoac = false;                        // always on, always connected: Modern Standby
};

constexpr uint32_t kEwxLogOff = 0;
constexpr uint32_t kEwxReboot = 2;
constexpr uint32_t kEwxForce = 4;
constexpr uint32_t kEwxPowerOff = 8;
constexpr uint32_t kTokenAdjustPrivileges = 32;
constexpr uint32_t kTokenQuery = 8;
constexpr uint32_t kSePrivilegeEnabled = 2;

class SystemApi {
public:
    virtual ~SystemApi() = default;
    virtual int32_t GetVersionExA(OsVersionRecord& record) = 0;
    virtual int32_t ExitWindowsEx(uint32_t flags, uint32_t reason) = 0;
    virtual int32_t SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) = 0;
    virtual int32_t LockWorkStation() = 0;
    virtual Handle GetCurrentProcess() = 0;
    virtual int32_t OpenProcessToken(Handle process, uint32_t access, Handle& token) = 0;
    virtual int32_t LookupPrivilegeValueA(const char* systemName, const char* name, Luid& luid) = 0;
    virtual int32_t AdjustTokenPrivileges(Handle token, int32_t disableAll, const TokenPrivileges& newState,
                                          uint32_t bufferLength, TokenPrivileges& previousState,
                                          uint32_t& returnLength) = 0;
    virtual int32_t CloseHandle(Handle handle) = 0;
    // The calling thread's last error, read right after a call that failed.
    virtual uint32_t GetLastError() = 0;
    // The system's text for an error, in the user's language (FormatMessage);
    // empty when the system has none.
    virtual std::u16string ErrorText(uint32_t error) = 0;
    // powrprof's answers; nothing where this Windows lacks the function.
    virtual std::optional<PowerCapabilities> GetPwrCapabilities() = 0;
    virtual std::optional<bool> IsPwrSuspendAllowed() = 0;
    virtual std::optional<bool> IsPwrHibernateAllowed() = 0;
    // Turns the display off through the program's own window (SC_MONITORPOWER),
    // which lets a machine with Modern Standby enter its low-power idle.
    virtual void TurnOffDisplay() = 0;
};

}  // namespace dusklet
