// The events that reach the main window's schedule from outside its own
// controls' nesting: the button, the tick, the wake-up, the tray icon, the
// machine's sleep, a change of the system time or zone, a restarted shell,
// the warning panel's buttons, the icon at another size, what the 当 mode
// watches. Each is handled
// once any other has returned (frmMain::On holds it back meanwhile).
#pragma once
#include <cstdint>

namespace dusklet {

// What the shell reports through the tray icon's callback: the mouse
// message over the icon, or a balloon's notification. Any other value is
// something the program does not act on.
enum class TrayNotification : uint32_t {
    DoubleClick = 0x203,    // WM_LBUTTONDBLCLK
    RightButtonUp = 0x205,  // WM_RBUTTONUP
    BalloonClick = 0x405,   // NIN_BALLOONUSERCLICK
};

struct MainEvent {
    enum class Kind : uint32_t {
        Click,         // cmdTimer
        Tick,          // the 500 ms timer
        Wake,          // the wake-up aimed by the schedule
        Tray,          // the tray icon, with `tray`
        MenuExit,      // the popup menu's Exit
        PowerSuspend,  // the machine is about to sleep
        PowerResume,   // and has woken again
        TimeChange,    // the system time, the time zone or the date forms have changed
        TrayIconLost,  // the shell restarted without the icon, or the time to ask it again has come
        Postpone,      // "not yet": from the warning panel or the popup menu
        Cancel,        // the warning panel's 取消
        IconChanged,   // the icon was loaded at another size (the screen's DPI, the icon sizes)
        ProgramEnded,  // a process of the program watched has ended, with `process`
        Sample,        // the time to sample the network's counters, or to look for unseen processes
        IdleLook,      // the time to look whether anybody uses the PC
    };
    Kind kind;
    uint32_t detail = 0;  // the tray's notification (Tray), or the process (ProgramEnded)
};

}  // namespace dusklet
