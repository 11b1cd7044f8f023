// The running system: version, power calls, clock, date forms and tray.
#pragma once
#include <windows.h>

#include "app/deadline.h"
#include "base/clock.h"
#include "base/time_zone.h"
#include "power/system_api.h"
#include "tray/notify_icon.h"
#include "win32/toolkit/ansi.h"
#include "win32/toolkit/handles.h"

namespace dusklet::win {

class WinSystemApi : public SystemApi {
public:
    OsVersion Version() override;
    CallResult SetShutdownPrivilege(bool enable) override;
    CallResult ExitWindowsWith(uint32_t flags, uint32_t reason) override;
    CallResult Suspend(bool hibernate, bool forceCritical, bool disableWakeEvent) override;
    CallResult Lock() override;
    std::u16string ErrorText(uint32_t error) override;
    std::optional<PowerCapabilities> Capabilities() override;
    std::optional<bool> SuspendAllowed() override;
    std::optional<bool> HibernateAllowed() override;
    void TurnOffDisplay() override;
    // The window whose system command turns the display off.
    void SetWindow(HWND window) { window_ = window; }

private:
    HWND window_ = nullptr;
};

// Tells Windows Vista and later that the program lays its windows out at the
// screen's own DPI, so that they are not drawn as a stretched bitmap; done
// before any window exists. Older Windows lack the function and scale nothing.
void DeclareDpiAware();

// The stay-awake request (SetThreadExecutionState), and the wake-up: a
// waitable timer at the absolute UTC moment, which wakes a sleeping machine
// and follows changes of the system time, beside a one-shot window timer
// that wakes the program itself. Windows 95 has neither; NT 4 has no request.
class WinDeadline : public Deadline {
public:
    // The window whose timer `timerId` is the program's wake-up.
    void SetWindow(HWND window, UINT timerId) {
        window_ = window;
        timerId_ = timerId;
    }
    bool CanWake() override;
    void KeepAwake(bool keep) override;
    bool WakeAt(int64_t moment) override;
    void CancelWake() override;
    // The window timer has come: it is a one-shot.
    void Spent() { KillTimer(window_, timerId_); }

private:
    HWND window_ = nullptr;
    UINT timerId_ = 0;
    UniqueHandle timer_;
    bool tried_ = false;
};

class WinClock : public Clock {
public:
    int64_t Now() override;
};

// The system's time zone: its own conversion where it has one (2000 and
// later), the rules it describes elsewhere.
class WinTimeZone : public TimeZone {
public:
    CivilDateTime ToLocal(int64_t utc) override;
};

class WinDateTimeFormat : public DateTimeFormat {
public:
    std::u16string ShortDate(const CivilDateTime& c) override;
    std::u16string LongTime(const CivilDateTime& c) override;
};

// The shell's tray: the wide records where texts go wide, the ANSI ones
// (kept converted between calls) elsewhere.
class WinTrayShell : public TrayShell {
public:
    bool NotifyIcon(uint32_t message, const NOTIFYICONDATA& nid) override;
    bool ShowBalloon(const NOTIFYICONDATA& nid, std::u16string_view title, std::u16string_view text) override;
    uint32_t ShellVersion() override;

private:
    WinAnsiCodec codec_;
    AnsiRecord ansi_;
};

}  // namespace dusklet::win
