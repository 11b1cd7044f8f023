// The main window: its state and its event handlers, written against the
// control model so that they run unchanged on real windows and in tests.
#pragma once
#include <cstdint>
#include <optional>

#include "app/command_line.h"
#include "app/deadline.h"
#include "app/frmMain_layout.h"
#include "app/main_host.h"
#include "app/schedule.h"
#include "app/watch.h"
#include "base/clock.h"
#include "base/time_zone.h"
#include "power/os_version.h"
#include "power/shutdown.h"
#include "power/system_api.h"
#include "tray/notify_icon.h"

namespace dusklet {

struct frmMainServices {
    MainHost& host;
    Clock& clock;
    TimeZone& zone;
    DateTimeFormat& dateFormat;
    SystemApi& system;
    TrayShell& tray;
    Deadline& deadline;
    Watch& watch;
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

    // A command line, this copy's own or handed over by a copy started
    // later: applied as the user would in the window, and answered with the
    // exit code for the script (exit_code::kBusy while another event is
    // handled: the copy that hands it over asks again).
    uint32_t Command(const dusklet::Command& command);

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
    void txtPeriod_KeyDown(int16_t& keyCode);
    void txtHour_KeyDown(int16_t& keyCode);
    void txtMin_KeyDown(int16_t& keyCode);
    void txtBlink_KeyDown(int16_t& keyCode);
    void txtPeriod_LostFocus();
    void txtHour_LostFocus();
    void txtMin_LostFocus();
    void txtBlink_LostFocus();
    void txtKb_Change();
    void txtQuiet_Change();
    void txtIdle_Change();
    void vsQuiet_Change();
    void vsIdle_Change();
    void txtKb_KeyPress(int16_t& keyAscii);
    void txtQuiet_KeyPress(int16_t& keyAscii);
    void txtIdle_KeyPress(int16_t& keyAscii);
    void txtKb_KeyDown(int16_t& keyCode);
    void txtQuiet_KeyDown(int16_t& keyCode);
    void txtIdle_KeyDown(int16_t& keyCode);
    void txtKb_LostFocus();
    void txtQuiet_LostFocus();
    void txtIdle_LostFocus();
    void opt_Click(int16_t index);
    void opt0_Click() { opt_Click(0); }
    void opt1_Click() { opt_Click(1); }
    void opt2_Click() { opt_Click(2); }
    void cmbCondition_Change();
    void cmbProgram_DropDown();
    void chkBlink_Click();

    void Form_KeyPress(int16_t& keyAscii);
    // Whether a request to close the window is honoured: only on the way out.
    UnloadDecision Form_Unload();
    // The user's session is ending: leave as Exit does, without the armed
    // action, at once, whatever is in progress: the process ends after this.
    void Form_EndSession();

    // Read-only views for the window binding and the tests.
    const NOTIFYICONDATA& TrayRecord() const { return trayRecord_; }
    bool Quitting() const { return quitting_; }
    bool Armed() const { return schedule_.has_value(); }
    // The shell holds the icon: the window may hide.
    bool TrayIconShown() const { return iconInTray_; }
    // The moment the armed schedule acts (seconds since 1970 UTC).
    std::optional<int64_t> Due() const { return schedule_ ? std::optional(schedule_->Due()) : std::nullopt; }

private:
    template <MainEvent::Kind K> void Raise() { On({K}); }
    // The handlers of the events.
    void cmdTimer_Click();
    void Timer_Timer();
    void Wake_Timer();
    void TrayIcon_Notify(TrayNotification notification);
    void mnuAbout_Click();
    void mnuExit_Click();
    // "Not yet", from the warning panel's 推迟 10 分钟 or the popup menu's.
    void cmdPostpone_Click();
    void Postpone(int64_t seconds);
    uint32_t ArmFromCommand(const dusklet::Command& command);
    void cmdCancel_Click();
    void Form_PowerSuspend();
    void Form_PowerResume();
    void Form_TimeChange();
    void Program_Ended(uint32_t id);
    void Watch_Sample();
    void LookForSomebody();
    // Puts the icon into the notification area again with the current tooltip
    // and picture (after the shell has restarted or refused it).
    void RestoreTrayIcon();
    void OpenPopupMenu();

    // False when the chosen action is refused already: nothing is armed.
    bool Arm();
    void Disarm();
    void CorrectNumberBoxes();
    PowerResult Refusal(PowerAction chosen);
    // The warning period is over: its balloon withdrawn and its panel closed.
    void EndWarning();
    void ClosePanel();
    std::u16string PanelText(int64_t secondsLeft) const;
    Schedule ScheduleFromSettings(int64_t now);
    WarningLead Lead() const;
    // The 当 mode: a program named on the command line, the watching, and its end.
    std::optional<uint32_t> ProgramNamed(const dusklet::Command& command);
    bool CanWatch(OSInfo info, Condition condition);
    std::u16string CannotWatchText(Condition condition);
    bool StartWatching();
    void WaitForProgram();
    void WaitForEnd(uint32_t id);
    void StopWatching();
    void Holding(bool holds);
    void ShowConditionRows();
    void ShowLeft(int64_t now);
    void ShowProgress();
    void SettleKb(int step);
    static int32_t NumberOf(const TextBox& box);
    void WarnOfTheAction(int64_t secondsLeft);
    void Look();
    void ShowSecondsLeft(int64_t secondsLeft);
    void Plan(int64_t now);
    void Release();
    // Writes the armed tooltip; true when its text changed.
    bool SetArmedTip();
    void ToggleSchedule();
    void Fire();
    PowerResult Perform();
    std::u16string FailureText(std::u16string_view label, PowerResult result);
    void ShowMainWindow();
    void ShowWindowAsItIs();
    void BringForward();
    void HideMainWindow();
    void ShowIconAgain();
    void SetClockBoxes(int hour, int minute);
    void ShowTrayIcon();
    // The host's icon was loaded afresh at another size.
    void TrayIcon_Changed();

    MainControls c;
    dusklet::Timer& Timer;
    frmMainServices s;

    std::optional<Schedule> schedule_;  // while armed
    std::u16string actionLabel_;        // the action as the list named it when armed
    PowerAction action_ = PowerAction::PowerOff;
    bool force_ = false;     // close programs without asking
    bool quitting_ = false;  // a close request is honoured: the program ends
    NOTIFYICONDATA trayRecord_;
    std::optional<int64_t> shownSeconds_;  // the countdown the status strip shows, if it shows one
    bool iconInTray_ = false;              // the shell took the icon last time it was asked
    bool iconShown_ = true;                // the blinking icon's picture is shown
    bool balloonUp_ = false;               // the shell may still show this arming's balloon
    bool panelUp_ = false;                 // the warning panel shows
    bool holding_ = false;                 // the system is asked to stay awake and wake for the schedule
    bool busy_ = false;                    // an event is being handled
    bool menuAsked_ = false;               // the popup menu opens once the handler has returned
    // The program list's entries mean a process each: the executable's
    // processes, or that one alone where the command line named its id.
    bool byId_ = false;
    // Armed in the 当 mode: the one condition watched, and why the action comes once it holds.
    std::optional<ProgramExit> program_;
    std::optional<QuietNetwork> network_;
    std::optional<NobodyThere> nobody_;
    std::u16string met_;
};

}  // namespace dusklet
