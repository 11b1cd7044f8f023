#include "win32/dusklet/system_win.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "app/main_event.h"
#include "power/privilege.h"
#include "win32/toolkit/system_library.h"
#include "win32/toolkit/text.h"
#include "win32/toolkit/trace.h"

namespace dusklet::win {

// The system's numbers that the portable code keeps copies of, checked
// against the system's headers.
static_assert(kEwxLogOff == EWX_LOGOFF && kEwxReboot == EWX_REBOOT && kEwxForce == EWX_FORCE &&
              kEwxPowerOff == EWX_POWEROFF);
static_assert(kShtdnReasonMajorOther == SHTDN_REASON_MAJOR_OTHER &&
              kShtdnReasonMinorOther == SHTDN_REASON_MINOR_OTHER &&
              kShtdnReasonFlagPlanned == SHTDN_REASON_FLAG_PLANNED);
static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE);
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP && kNifInfo == NIF_INFO);
static_assert(kNiifWarning == NIIF_WARNING);
static_assert(static_cast<UINT>(TrayNotification::DoubleClick) == WM_LBUTTONDBLCLK &&
              static_cast<UINT>(TrayNotification::RightButtonUp) == WM_RBUTTONUP &&
              static_cast<UINT>(TrayNotification::BalloonClick) == NIN_BALLOONUSERCLICK);
static_assert(kTrayCallbackMessage == WM_APP + 1);
static_assert(kErrorNotAllAssigned == ERROR_NOT_ALL_ASSIGNED);
static_assert(sizeof(void*) != 4 ||
              (kNotifyIconDataSize == NOTIFYICONDATAA_V1_SIZE && kNotifyIconDataV2Size == NOTIFYICONDATAA_V2_SIZE));
static_assert(sizeof(NOTIFYICONDATAW::szInfo) / sizeof(wchar_t) == field::kInfoBytes &&
              sizeof(NOTIFYICONDATAW::szInfoTitle) / sizeof(wchar_t) == field::kInfoTitleBytes);

namespace {

HMODULE Advapi32() {
    static HMODULE module = LoadSystemLibrary("advapi32.dll");
    return module;
}

HMODULE Powrprof() {
    static HMODULE module = LoadSystemLibrary("powrprof.dll");
    return module;
}

}  // namespace

OsVersion WinSystemApi::Version() {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

namespace {

// What a call returned, with the last error read at once.
CallResult Result(BOOL returned) { return {returned != 0, GetLastError()}; }

// The token functions, which Windows 95 lacks (it has no privileges).
class WinTokenSteps : public TokenSteps {
public:
    CallResult Open(Handle& token) override {
        using Fn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
        static const Fn fn = Resolve<Fn>(Advapi32(), "OpenProcessToken");
        if (!fn) return {false, ERROR_PROC_NOT_FOUND};
        HANDLE h = nullptr;
        const CallResult result = Result(fn(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &h));
        token = reinterpret_cast<Handle>(h);
        return result;
    }
    CallResult LookUp(Luid& luid) override {
        using Fn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
        static const Fn fn = Resolve<Fn>(Advapi32(), "LookupPrivilegeValueA");
        if (!fn) return {false, ERROR_PROC_NOT_FOUND};
        LUID value = {};
        const CallResult result = Result(fn(nullptr, SE_SHUTDOWN_NAME, &value));
        luid = {value.LowPart, value.HighPart};
        return result;
    }
    CallResult Adjust(Handle token, Luid luid, bool enable) override {
        using Fn = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
        static const Fn fn = Resolve<Fn>(Advapi32(), "AdjustTokenPrivileges");
        if (!fn) return {false, ERROR_PROC_NOT_FOUND};
        TOKEN_PRIVILEGES state = {};
        state.PrivilegeCount = 1;
        state.Privileges[0].Luid.LowPart = luid.lowPart;
        state.Privileges[0].Luid.HighPart = luid.highPart;
        state.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
        // The last error tells whether it was assigned: cleared first, so
        // that an earlier call's error is not taken for this one's.
        SetLastError(ERROR_SUCCESS);
        return Result(fn(reinterpret_cast<HANDLE>(token), FALSE, &state, 0, nullptr, nullptr));
    }
    void Close(Handle token) override { CloseHandle(reinterpret_cast<HANDLE>(token)); }
};

}  // namespace

CallResult WinSystemApi::SetShutdownPrivilege(bool enable) {
    WinTokenSteps steps;
    return SwitchShutdownPrivilege(steps, enable);
}

CallResult WinSystemApi::ExitWindowsWith(uint32_t flags, uint32_t reason) {
    return Result(ExitWindowsEx(flags, reason));
}

CallResult WinSystemApi::Suspend(bool hibernate, bool forceCritical, bool disableWakeEvent) {
    using Fn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
    static const Fn fn = Resolve<Fn>(Powrprof(), "SetSuspendState");
    if (!fn) return {false, ERROR_PROC_NOT_FOUND};
    return Result(fn(hibernate, forceCritical, disableWakeEvent));
}

CallResult WinSystemApi::Lock() {
    using Fn = BOOL(WINAPI*)();
    static const Fn fn = Resolve<Fn>(GetModuleHandleA("user32.dll"), "LockWorkStation");
    if (!fn) return {false, ERROR_PROC_NOT_FOUND};
    return Result(fn());
}

std::optional<PowerCapabilities> WinSystemApi::Capabilities() {
    using Fn = BOOLEAN(WINAPI*)(PSYSTEM_POWER_CAPABILITIES);
    static const Fn fn = Resolve<Fn>(Powrprof(), "GetPwrCapabilities");
    SYSTEM_POWER_CAPABILITIES caps;
    std::memset(&caps, 0, sizeof caps);
    if (!fn || !fn(&caps)) return std::nullopt;
    // AoAc is the byte at offset 20, which older headers (and systems) call spare.
    static_assert(offsetof(SYSTEM_POWER_CAPABILITIES, spare2) + 2 == 20);
    return PowerCapabilities{caps.SystemS1 != 0, caps.SystemS2 != 0, caps.SystemS3 != 0, caps.spare2[2] != 0};
}

std::optional<bool> WinSystemApi::SuspendAllowed() {
    using Fn = BOOLEAN(WINAPI*)();
    static const Fn fn = Resolve<Fn>(Powrprof(), "IsPwrSuspendAllowed");
    if (!fn) return std::nullopt;
    return fn() != 0;
}

std::optional<bool> WinSystemApi::HibernateAllowed() {
    using Fn = BOOLEAN(WINAPI*)();
    static const Fn fn = Resolve<Fn>(Powrprof(), "IsPwrHibernateAllowed");
    if (!fn) return std::nullopt;
    return fn() != 0;
}

void WinSystemApi::TurnOffDisplay() { SendMessageA(window_, WM_SYSCOMMAND, SC_MONITORPOWER, 2); }

std::u16string WinSystemApi::ErrorText(uint32_t error) { return ErrorText16(error); }

namespace {

// The kernel32 functions of the deadline, which Windows 95 lacks.
struct DeadlineFunctions {
    decltype(&::SetThreadExecutionState) keepAwake = nullptr;
    decltype(&::CreateWaitableTimerA) create = nullptr;
    decltype(&::SetWaitableTimer) set = nullptr;
    decltype(&::CancelWaitableTimer) cancel = nullptr;
};

const DeadlineFunctions& Kernel32Deadline() {
    static const DeadlineFunctions fns = [] {
        const HMODULE k = GetModuleHandleA("kernel32.dll");
        DeadlineFunctions f;
        f.keepAwake = Resolve<decltype(f.keepAwake)>(k, "SetThreadExecutionState");
        f.create = Resolve<decltype(f.create)>(k, "CreateWaitableTimerA");
        f.set = Resolve<decltype(f.set)>(k, "SetWaitableTimer");
        f.cancel = Resolve<decltype(f.cancel)>(k, "CancelWaitableTimer");
        return f;
    }();
    return fns;
}

SYSTEMTIME ToSystemTime(const CivilDateTime& c) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(c.year);
    st.wMonth = static_cast<WORD>(c.month);
    st.wDay = static_cast<WORD>(c.day);
    st.wHour = static_cast<WORD>(c.hour);
    st.wMinute = static_cast<WORD>(c.minute);
    st.wSecond = static_cast<WORD>(c.second);
    return st;
}

CivilDateTime FromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

ZoneChange FromZoneDate(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

// A waitable timer's due time: 100 ns steps from 1601 (UTC).
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
int64_t FileTimeOf(int64_t seconds) { return (seconds + kSecondsFrom1601To1970) * 10000000; }

}  // namespace

// Without a waitable timer the program keeps its tick.
bool WinDeadline::CanWake() {
    if (!tried_) {
        tried_ = true;
        const DeadlineFunctions& f = Kernel32Deadline();
        if (f.create && f.set && f.cancel) {
            timer_.reset(f.create(nullptr, TRUE, nullptr));
            if (!timer_) Trace("wake-up: no waitable timer");
        }
    }
    return static_cast<bool>(timer_);
}

// A request the system refuses leaves the machine to its power plan; the
// deadline is still kept while it is awake. The answer is the state asked
// for before, which may be none (0): a failure is told by the last error.
void WinDeadline::KeepAwake(bool keep) {
    const auto keepAwake = Kernel32Deadline().keepAwake;
    if (!keepAwake) return;
    SetLastError(ERROR_SUCCESS);
    if (!keepAwake(ES_CONTINUOUS | (keep ? ES_SYSTEM_REQUIRED : 0)) && GetLastError() != ERROR_SUCCESS)
        Trace("stay-awake request refused");
}

// Either timer refused: no wake-up is left aimed, and the answer is false,
// so that the program keeps its tick (and asks again at the next one).
bool WinDeadline::WakeAt(int64_t moment) {
    if (!CanWake()) return false;
    LARGE_INTEGER due;
    due.QuadPart = FileTimeOf(moment);  // positive: an absolute UTC time
    // A machine whose power plan refuses wake timers still wakes the program:
    // the call succeeds then.
    if (!Kernel32Deadline().set(timer_.get(), &due, 0, nullptr, nullptr, TRUE)) {
        Trace("wake-up: waitable timer not set");
        CancelWake();
        return false;
    }
    // The program's own wake-up, a little after the due second has begun;
    // at most a day ahead (a window timer counts milliseconds in 31 bits),
    // after which it is aimed again.
    SYSTEMTIME now;
    GetSystemTime(&now);
    const int64_t ms = (moment - SecondsFromCivil(FromSystemTime(now))) * 1000 - now.wMilliseconds + 20;
    const UINT wait = static_cast<UINT>(std::clamp<int64_t>(ms, 1, 86400000));
    if (SetTimer(window_, timerId_, wait, nullptr)) return true;
    Trace("wake-up: no window timer");
    CancelWake();
    return false;
}

void WinDeadline::CancelWake() {
    if (timer_) Kernel32Deadline().cancel(timer_.get());
    KillTimer(window_, timerId_);
}

void DeclareDpiAware() {
    using Fn = BOOL(WINAPI*)();
    if (const Fn fn = Resolve<Fn>(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")) fn();
}

int64_t WinClock::Now() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return SecondsFromCivil(FromSystemTime(now));
}

CivilDateTime WinTimeZone::ToLocal(int64_t utc) {
    using Fn = BOOL(WINAPI*)(LPTIME_ZONE_INFORMATION, const SYSTEMTIME*, LPSYSTEMTIME);
    static const Fn toLocal = Resolve<Fn>(GetModuleHandleA("kernel32.dll"), "SystemTimeToTzSpecificLocalTime");
    const SYSTEMTIME moment = ToSystemTime(CivilFromSeconds(utc));
    SYSTEMTIME local;
    if (toLocal && toLocal(nullptr, &moment, &local)) return FromSystemTime(local);
    // Windows 95, 98, ME and NT 4: the rules the system describes, applied
    // here (none, which reads as UTC, where it cannot say).
    TIME_ZONE_INFORMATION tz;
    if (GetTimeZoneInformation(&tz) == TIME_ZONE_ID_INVALID) std::memset(&tz, 0, sizeof tz);
    const ZoneRules rules = {tz.Bias, tz.StandardBias, tz.DaylightBias, FromZoneDate(tz.StandardDate),
                             FromZoneDate(tz.DaylightDate)};
    return RulesZone(rules).ToLocal(utc);
}

std::u16string WinDateTimeFormat::ShortDate(const CivilDateTime& c) { return DateFormat16(ToSystemTime(c)); }

std::u16string WinDateTimeFormat::LongTime(const CivilDateTime& c) { return TimeFormat16(ToSystemTime(c)); }

namespace {

uint32_t U32(const uint8_t* record, size_t offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | record[offset + i];
    return v;
}

// Shell_NotifyIconA, from shell32 as it is first needed.
bool ShellNotifyIconA(DWORD message, NOTIFYICONDATAA& data) {
    using Fn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    static const Fn fn = Resolve<Fn>(Shell32(), "Shell_NotifyIconA");
    return fn && fn(message, &data);
}

// The records are the shell's 32-bit ANSI layouts. Unpacking them field by
// field gives the same bytes on a 32-bit system and the right layout where
// pointers are wider.
NOTIFYICONDATAA Unpack(const uint8_t* record, UINT wideSize) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = sizeof(void*) == 4 ? U32(record, field::kCbSize) : wideSize;
    data.hWnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(U32(record, field::kHWnd)));
    data.uID = U32(record, field::kUID);
    data.uFlags = U32(record, field::kUFlags);
    data.uCallbackMessage = U32(record, field::kUCallbackMessage);
    data.hIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(U32(record, field::kHIcon)));
    return data;
}

}  // namespace

// The record's numbers in the wide form.
NOTIFYICONDATAW WideHeader(const NOTIFYICONDATA& nid, DWORD size, UINT flags) {
    NOTIFYICONDATAW data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = size;
    data.hWnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(nid.hWnd));
    data.uID = nid.uID;
    data.uFlags = flags;
    data.uCallbackMessage = nid.uCallbackMessage;
    data.hIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(nid.hIcon));
    return data;
}

// A text into a wide field of `chars` characters, cut as FitField cuts it;
// the rest stays zero.
void PutWide(wchar_t* out, size_t chars, std::u16string_view text) {
    const std::u16string fitted = FitField(text, chars);
    std::memcpy(out, fitted.data(), fitted.size() * sizeof(char16_t));
}

bool WinTrayShell::NotifyIcon(uint32_t message, const NOTIFYICONDATA& nid) {
    if (WideText()) {
        NOTIFYICONDATAW data = WideHeader(nid, NOTIFYICONDATAW_V1_SIZE, nid.uFlags);
        // The first-version record reads 64 characters of the tip.
        PutWide(data.szTip, kTipChars, TipText(nid));
        return ShellNotifyIconW(message, data) != 0;
    }
    const NotifyIconBytes& record = ansi_.Of(nid, codec_);
    NOTIFYICONDATAA data = Unpack(record.data(), NOTIFYICONDATAA_V1_SIZE);
    std::memcpy(data.szTip, record.data() + field::kSzTip, kTipChars);
    return ShellNotifyIconA(message, data);
}

bool WinTrayShell::ShowBalloon(const NOTIFYICONDATA& nid, std::u16string_view title, std::u16string_view text) {
    if (WideText()) {
        NOTIFYICONDATAW data = WideHeader(nid, NOTIFYICONDATAW_V2_SIZE, kNifInfo);
        PutWide(data.szInfo, std::size(data.szInfo), text);
        data.uTimeout = kBalloonTimeoutMs;
        PutWide(data.szInfoTitle, std::size(data.szInfoTitle), title);
        data.dwInfoFlags = kNiifWarning;
        return ShellNotifyIconW(NIM_MODIFY, data) != 0;
    }
    const BalloonBytes record = BalloonForm(nid, title, text, codec_);
    static_assert(sizeof(void*) != 4 || sizeof(NOTIFYICONDATAA) >= kNotifyIconDataV2Size);
    static_assert(sizeof(NOTIFYICONDATAA::szInfo) == field::kInfoBytes &&
                  sizeof(NOTIFYICONDATAA::szInfoTitle) == field::kInfoTitleBytes);
    NOTIFYICONDATAA data = Unpack(record.data(), NOTIFYICONDATAA_V2_SIZE);
    std::memcpy(data.szInfo, record.data() + field::kSzInfo, field::kInfoBytes);
    data.uTimeout = U32(record.data(), field::kUTimeout);
    std::memcpy(data.szInfoTitle, record.data() + field::kSzInfoTitle, field::kInfoTitleBytes);
    data.dwInfoFlags = U32(record.data(), field::kDwInfoFlags);
    return ShellNotifyIconA(NIM_MODIFY, data);
}

uint32_t WinTrayShell::ShellVersion() {
    const auto fn = Resolve<DLLGETVERSIONPROC>(Shell32(), "DllGetVersion");
    DLLVERSIONINFO info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    return fn && SUCCEEDED(fn(&info)) ? info.dwMajorVersion : 4;
}

}  // namespace dusklet::win
