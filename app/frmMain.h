// The main window: its state and its event handlers, written against the
// control model so that they run unchanged on real windows and in tests.
#pragma once
#include <cstdint>
#include <optional>

#include "app/deadline.h"
#include "app/frmMain_layout.h"
#include "app/main_host.h"
#include "base/clock.h"
#include "power/shutdown.h"
#include "power/system_api.h"
#include "tray/notify_icon.h"

namespace dusklet {

struct frmMainServices {
    MainHost& host;
    Clock& clock;
    DateTimeFormat& dateFormat;
    SystemApi& system;
    TrayShell& tray;
    Deadline& deadline;
};

bool IsDigitKey(int16_t keyAscii);

class frmMain {
public:
    frmMain(const MainControls& controls, dusklet::Timer& timer, const frmMainServices& services);

    // Start-up; false when another instance runs and this one must end.
    bool Form_Initialize();

    // Every event of the schedule comes in here, one at a time: an event that
    // arrives while another is handled (the system delivers messages during
    // some calls of the handlers, the tray's among them) is held back and
    // handed in again once that has returned. The popup menu and the About
    // window open after their handler has returned, so that their message
    // loops let ticks and notifications through.
    void On(MainEvent event);

    void txtPeriod_Change();
    void txtHour_Change();
    void txtMin_Change();
    void txtBlink_Change();
    void vsPeriod_Change();
    void vsHour_Change();
    void vsMin_Change();
    void vsBlink_Change();
    void txtPeriod_KeyPress(int16_t& keyAscii);
    void txtHour_KeyPress(int16_t& keyAscii);
    void txtMin_KeyPress(int16_t& keyAscii);
    void txtBlink_KeyPress(int16_t& keyAscii);
    void opt_Click(int16_t index);
    void opt0_Click() { opt_Click(0); }
    void opt1_Click() { opt_Click(1); }
    void chkBlink_Click();

    void Form_KeyPress(int16_t& keyAscii);
    // Whether a request to close the window is honoured: only on the way out.
    UnloadDecision Form_Unload();
    // The user's session is ending: leave as Exit does, without the armed
    // action, at once, whatever is in progress: the process ends after this.
    void Form_EndSession();

    // Read-only views for the window binding and the tests.
    const NOTIFYICONDATA& TrayRecord() const { return nid; }
    bool Quitting() const { return blnQuit; }
    bool TimerOn() const { return blnTimerOn; }
    SerialDate Target() const { return dtTarget; }

private:
    template <MainEvent::Kind K> void Raise() { On({K}); }
    // The handlers of the events.
    void cmdTimer_Click();
    void Timer_Timer();
    void Wake_Timer();
    void TrayIcon_Notify(TrayNotification notification);
    void mnuAbout_Click();
    void mnuExit_Click();
    void Form_PowerSuspend();
    void Form_PowerResume();
    void Form_TimeChange();
    // Puts the icon into the notification area again with the current tooltip
    // and picture (after the shell has restarted).
    void RestoreTrayIcon();
    void OpenPopupMenu();

    // False when the chosen action is refused already: nothing is armed.
    bool Arm();
    void Disarm();
    PowerResult Refusal(PowerAction chosen);
    void WithdrawWarning();
    SerialDate ClockTarget(SerialDate now);
    void WarnOfTheAction(int32_t secondsLeft);
    void Tick();
    int32_t SecondsLeft();
    void ShowSecondsLeft(int32_t secondsLeft);
    bool InWarning(int32_t secondsLeft) const;
    void Plan(int32_t secondsLeft);
    void Resumed();
    void Release();
    void SetArmedTip();
    void ToggleSchedule();
    void Fire();
    PowerResult Perform();
    std::u16string FailureText(std::u16string_view label, PowerResult result);
    void ShowMainWindow();
    void HideMainWindow();
    void Tray(uint32_t message);

    MainControls c;
    dusklet::Timer& Timer;
    frmMainServices s;

    std::u16string strAction;
    PowerAction action = PowerAction::PowerOff;  // what strAction names
    bool blnTimerOn = false;
    bool blnQuit = false;
    bool blnBlink = false;
    bool blnForce = false;
    int32_t lngBlinkSecs = 0;
    SerialDate dtTarget = 0;
    NOTIFYICONDATA nid;
    std::optional<int32_t> shownSeconds;  // the countdown the status strip shows, if it shows one
    bool blnIconShown = true;             // the tick's own flag: is the tray picture shown
    bool blnWarned = false;               // has this arming's warning been given
    bool balloonUp = false;               // may the shell still show this arming's balloon
    bool awake = false;                   // is the system asked to stay awake
    bool wakeSet = false;                 // has this arming aimed a wake-up
    std::optional<int64_t> aimedAt;       // the wake-up aimed and not yet come (ToSeconds), if any
    bool suspended = false;               // the machine went to sleep while armed
    bool resumeWarning = false;           // the warning period after a resume runs
    bool busy = false;                    // an event is being handled
    bool menuAsked = false;               // the popup menu opens once the handler has returned
};

}  // namespace dusklet
