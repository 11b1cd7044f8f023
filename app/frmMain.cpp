#include "app/frmMain.h"

#include <algorithm>
#include <utility>

#include "app/texts.h"
#include "base/number_text.h"
#include "power/os_version.h"
#include "power/shutdown.h"

namespace dusklet {

using namespace ctl;

namespace {

constexpr int16_t kEscape = 27;
// The warning period after the machine has woken lasts the blink lead, but
// at least this long, so that a user who has just come back can cancel.
constexpr int32_t kLeastWarningAfterResume = 30;

// Keeps a number box within its scroll bar's range and the bar on the box's
// number. The bounds are read from the bar each time: Min is the upper bound
// (top end), Max the lower one. Each write raises the box's change handler
// inside the write, so the corrected text has already gone through this step
// when the write returns.
void TextToBar(TextBox& text, ScrollBar& bar) {
    if (LeadingNumber(text.Text()) > static_cast<double>(bar.Min())) text.SetText(DecimalText(bar.Min()));
    if (LeadingNumber(text.Text()) < static_cast<double>(bar.Max())) text.SetText(DecimalText(bar.Max()));
    bar.SetValue(RoundToInt16(LeadingNumber(text.Text())));
}

void FilterDigit(int16_t& keyAscii) {
    if (!IsDigitKey(keyAscii)) keyAscii = 0;
}

}  // namespace

bool IsDigitKey(int16_t keyAscii) { return keyAscii >= 48 && keyAscii <= 57; }

frmMain::frmMain(const MainControls& controls, dusklet::Timer& timer, const frmMainServices& services)
    : c(controls), Timer(timer), s(services) {
    c.get<cmdTimer>().onClick = Event<>::To<&frmMain::Raise<MainEvent::Kind::Click>>(this);
    Timer.onTimer = Event<>::To<&frmMain::Raise<MainEvent::Kind::Tick>>(this);
    c.get<txtPeriod>().onChange = Event<>::To<&frmMain::txtPeriod_Change>(this);
    c.get<txtHour>().onChange = Event<>::To<&frmMain::txtHour_Change>(this);
    c.get<txtMin>().onChange = Event<>::To<&frmMain::txtMin_Change>(this);
    c.get<txtBlink>().onChange = Event<>::To<&frmMain::txtBlink_Change>(this);
    c.get<vsPeriod>().onChange = Event<>::To<&frmMain::vsPeriod_Change>(this);
    c.get<vsHour>().onChange = Event<>::To<&frmMain::vsHour_Change>(this);
    c.get<vsMin>().onChange = Event<>::To<&frmMain::vsMin_Change>(this);
    c.get<vsBlink>().onChange = Event<>::To<&frmMain::vsBlink_Change>(this);
    c.get<txtPeriod>().onKeyPress = Event<int16_t&>::To<&frmMain::txtPeriod_KeyPress>(this);
    c.get<txtHour>().onKeyPress = Event<int16_t&>::To<&frmMain::txtHour_KeyPress>(this);
    c.get<txtMin>().onKeyPress = Event<int16_t&>::To<&frmMain::txtMin_KeyPress>(this);
    c.get<txtBlink>().onKeyPress = Event<int16_t&>::To<&frmMain::txtBlink_KeyPress>(this);
    c.get<opt0>().onClick = Event<>::To<&frmMain::opt0_Click>(this);
    c.get<opt1>().onClick = Event<>::To<&frmMain::opt1_Click>(this);
    c.get<chkBlink>().onClick = Event<>::To<&frmMain::chkBlink_Click>(this);
}

void frmMain::Tray(uint32_t message) { s.tray.NotifyIcon(message, nid); }

bool frmMain::Form_Initialize() {
    s.host.AttachSkin(s.host.ProgramFolder() + texts::kSkinFile, u"");
    s.host.InitCommonControls();
    if (s.host.AnotherInstanceRunning()) {
        s.host.MsgBox(texts::kAlreadyRunning, texts::kAlreadyRunningTitle, 64);
        return false;
    }
    if (VersionCanLock(GetOSInfo(s.system)))
        c.get<cmbAction>().AddItem(layout_lists::kLock.text, layout_lists::kLock.data);
    c.get<cmbAction>().SetListIndex(0);
    c.get<cmbUnit>().SetListIndex(0);
    c.get<cmbT>().SetListIndex(0);

    nid.cbSize = kNotifyIconDataSize;
    nid.hIcon = s.host.IconHandle();
    nid.hWnd = s.host.WindowHandle();
    SetTip(nid, std::u16string(texts::kIdleTip) + u'\0');
    nid.uCallbackMessage = kTrayCallbackMessage;
    nid.uFlags = kNifMessage | kNifIcon | kNifTip;
    nid.uID = 1;
    Tray(kNimAdd);
    return true;
}

void frmMain::RestoreTrayIcon() { Tray(kNimAdd); }

// ---- The one way in for the schedule's events -------------------------------

void frmMain::On(MainEvent event) {
    if (busy) {
        s.host.Later(event);
        return;
    }
    busy = true;
    switch (event.kind) {
    case MainEvent::Kind::Click: cmdTimer_Click(); break;
    case MainEvent::Kind::Tick: Timer_Timer(); break;
    case MainEvent::Kind::Wake: Wake_Timer(); break;
    case MainEvent::Kind::Tray: TrayIcon_Notify(event.tray); break;
    case MainEvent::Kind::MenuExit: mnuExit_Click(); break;
    case MainEvent::Kind::PowerSuspend: Form_PowerSuspend(); break;
    case MainEvent::Kind::PowerResume: Form_PowerResume(); break;
    case MainEvent::Kind::TimeChange: Form_TimeChange(); break;
    case MainEvent::Kind::TrayIconLost: RestoreTrayIcon(); break;
    }
    busy = false;
    if (std::exchange(menuAsked, false)) OpenPopupMenu();
}

// ---- Arming and disarming -------------------------------------------------

void frmMain::cmdTimer_Click() { ToggleSchedule(); }

void frmMain::ToggleSchedule() {
    if (blnTimerOn) {
        Disarm();
        blnTimerOn = false;
        Timer.SetEnabled(false);
        Release();
        return;
    }
    if (!Arm()) return;
    blnTimerOn = true;
    // Armed: the machine stays awake for the deadline (it may still be
    // put to sleep by the user), and the tick or a wake-up waits for it.
    s.deadline.KeepAwake(true);
    awake = true;
    Plan(SecondsLeft());
}

// The armed schedule's hold on the system, given back: the stay-awake
// request and the wake-up. Once for each way the schedule ends.
void frmMain::Release() {
    if (awake) s.deadline.KeepAwake(false);
    if (wakeSet) s.deadline.CancelWake();
    awake = false;
    wakeSet = false;
    aimedAt.reset();
    suspended = false;
    resumeWarning = false;
}

void frmMain::Disarm() {
    WithdrawWarning();
    c.get<lblStatus>().SetCaption(texts::kDisarmedStatus);
    shownSeconds.reset();
    c.get<cmdTimer>().SetCaption(texts::kIdleButton);
    nid.hIcon = s.host.IconHandle();
    SetTip(nid, std::u16string(texts::kIdleTip) + u'\0');
    Tray(kNimModify);
    c.get<frame>().SetEnabled(true);
}

bool frmMain::Arm() {
    // What the due moment would refuse, known now, is said now: the user
    // may leave the machine alone for hours counting on it.
    if (const PowerResult refusal = Refusal(static_cast<PowerAction>(c.get<cmbAction>().ItemData())); !refusal.Done()) {
        s.host.Warn(FailureText(c.get<cmbAction>().Text(), refusal));
        return false;
    }
    blnWarned = false;
    c.get<frame>().SetEnabled(false);
    c.get<cmdTimer>().SetCaption(texts::kArmedButton);
    strAction = c.get<cmbAction>().Text();
    action = static_cast<PowerAction>(c.get<cmbAction>().ItemData());
    blnForce = c.get<chkForce>().Value() != 0;
    blnBlink = c.get<chkBlink>().Value() != 0;
    lngBlinkSecs = RoundToInt32(LeadingNumber(c.get<txtBlink>().Text()));
    const SerialDate now = NowSerial(s.clock);
    if (c.get<opt0>().Value()) {
        const auto unit = static_cast<TimeUnit>(c.get<cmbUnit>().ItemData());
        dtTarget = AddUnits(now, unit, RoundToInt32(LeadingNumber(c.get<txtPeriod>().Text())));
    } else {
        dtTarget = ClockTarget(now);
    }
    SetArmedTip();
    Tray(kNimModify);
    return true;
}

void frmMain::SetArmedTip() {
    SetTip(nid, texts::kTipLead + GeneralDate(s.dateFormat, dtTarget) + texts::kTipRun + strAction + u'\0');
}

PowerResult frmMain::Refusal(PowerAction chosen) {
    switch (chosen) {
    case PowerAction::PowerOff:
    case PowerAction::Restart:
    case PowerAction::LogOff: return {};
    case PowerAction::Suspend: return SuspendRefusal(s.system, false);
    case PowerAction::Hibernate: return SuspendRefusal(s.system, true);
    case PowerAction::Lock: return LockRefusal(s.system);
    }
    return {PowerResult::Outcome::UnknownAction};
}

// Today at the clock time of the hour and minute boxes (their leading
// numbers; an empty minute is 0), or tomorrow when that is already past.
SerialDate frmMain::ClockTarget(SerialDate now) {
    const int hour12 = std::clamp<int>(RoundToInt16(LeadingNumber(c.get<txtHour>().Text())), 1, 12);
    const int minute = std::clamp<int>(RoundToInt16(LeadingNumber(c.get<txtMin>().Text())), 0, 59);
    const int hour = hour12 % 12 + (c.get<cmbT>().ItemData() == layout_lists::Data(HalfDay::PM) ? 12 : 0);
    SerialDate target = FromSeconds(ToSeconds(DateOnly(now)) + hour * 3600 + minute * 60);
    if (ToSeconds(target) < ToSeconds(now)) target = AddOneDay(target);
    return target;
}

// ---- The tick ---------------------------------------------------------------

void frmMain::Timer_Timer() {
    // Only an armed schedule ticks: any program may post a WM_TIMER, and one
    // taken for a tick while disarmed would run the last action, or none chosen.
    if (blnTimerOn) Tick();
}

void frmMain::Wake_Timer() {
    if (!blnTimerOn) return;
    aimedAt.reset();  // spent: the next one is aimed afresh
    Tick();
}

// One step of the armed schedule, from the tick or a wake-up: the seconds
// left in the strip, the warning, the action once due, and how to wait on.
void frmMain::Tick() {
    // A tick after the machine went to sleep is the first after its resume,
    // whether or not the system has said so yet.
    if (suspended) Resumed();
    const int32_t secondsLeft = SecondsLeft();
    ShowSecondsLeft(secondsLeft);
    if (InWarning(secondsLeft)) {
        if (!blnWarned) WarnOfTheAction(secondsLeft);
        nid.hIcon = blnIconShown ? 0 : s.host.IconHandle();
        Tray(kNimModify);
        blnIconShown = !blnIconShown;
    }
    if (ToSeconds(dtTarget) > ToSeconds(NowSerial(s.clock))) {
        Plan(secondsLeft);
        return;
    }
    Fire();
}

int32_t frmMain::SecondsLeft() { return static_cast<int32_t>(SecondsBetween(NowSerial(s.clock), dtTarget)); }

// The strip changes once a second; the ticks between leave it alone.
void frmMain::ShowSecondsLeft(int32_t secondsLeft) {
    if (shownSeconds == secondsLeft) return;
    c.get<lblStatus>().SetCaption(DecimalText(secondsLeft) + texts::kSecondsLeft);
    shownSeconds = secondsLeft;
}

// The warning period: the last seconds of the blink lead when blinking is
// on, and the whole time left after a resume.
bool frmMain::InWarning(int32_t secondsLeft) const {
    return resumeWarning || (blnBlink && secondsLeft <= lngBlinkSecs);
}

// How the armed schedule waits. The 500 ms tick runs while the window shows
// the countdown, during the warning period, and where the system cannot wake
// the program; otherwise nothing runs until a wake-up, aimed at the start of
// the warning period, or at the due moment once that has begun, so that the
// action comes on time. A time change or a resume aims it afresh.
void frmMain::Plan(int32_t secondsLeft) {
    const bool warning = InWarning(secondsLeft);
    const SerialDate at = warning || !blnBlink ? dtTarget : AddUnits(dtTarget, TimeUnit::Seconds, -lngBlinkSecs);
    // Compared in whole seconds: a double may be held with more precision
    // than it is stored with.
    const int64_t atSecond = ToSeconds(at);
    if (aimedAt != atSecond && s.deadline.CanWake()) {
        wakeSet = true;
        if (s.deadline.WakeAt(at)) aimedAt = atSecond;
        else aimedAt.reset();
    }
    Timer.SetEnabled(warning || s.host.Visible() || aimedAt != atSecond);
}

void frmMain::Form_PowerSuspend() {
    if (blnTimerOn) suspended = true;
}

void frmMain::Form_PowerResume() {
    if (blnTimerOn && suspended) Tick();
}

// After the machine has slept, a deadline that has passed, or lies nearer
// than the warning lead, does not act in front of a user who has just come
// back: a warning period of the lead, at least 30 s, runs first, with the
// blinking and the balloon, and the action follows unless the user disarms.
void frmMain::Resumed() {
    suspended = false;
    aimedAt.reset();  // the system's clock may have moved while asleep
    const int32_t lead = std::max(lngBlinkSecs, kLeastWarningAfterResume);
    const SerialDate now = NowSerial(s.clock);
    if (SecondsBetween(now, dtTarget) >= lead) return;
    dtTarget = AddUnits(now, TimeUnit::Seconds, lead);
    resumeWarning = true;
    blnWarned = false;
    SetArmedTip();
    Tray(kNimModify);
}

void frmMain::Form_TimeChange() {
    if (!blnTimerOn) return;
    aimedAt.reset();  // an absolute wake-up follows the clock; the window's own does not
    Plan(SecondsLeft());
}

// Once per arming, when the blinking begins: a balloon from the icon says
// what will happen and how to stop it, where the shell can show one (the icon
// itself may sit in the hidden part of the notification area).
void frmMain::WarnOfTheAction(int32_t secondsLeft) {
    blnWarned = true;
    if (s.tray.ShellVersion() < 5) return;
    balloonUp = true;
    const std::u16string text =
        DecimalText(secondsLeft) + texts::kSecondsLeft + strAction + texts::kFullStop + texts::kClickToCancel;
    s.tray.ShowBalloon(nid, texts::kProgramTitle, text);
}

PowerResult frmMain::Perform() {
    // The stay-awake request and the wake-up go before the call: the action
    // may put the machine to sleep itself.
    Release();
    switch (action) {
    case PowerAction::PowerOff: return ExitWindowsAction(s.system, kEwxPowerOff, blnForce);
    case PowerAction::Restart: return ExitWindowsAction(s.system, kEwxReboot, blnForce);
    case PowerAction::LogOff: return ExitWindowsAction(s.system, kEwxLogOff, blnForce);
    case PowerAction::Suspend: return SuspendAction(s.system, false, blnForce, false);
    case PowerAction::Hibernate: return SuspendAction(s.system, true, blnForce, false);
    case PowerAction::Lock: return LockAction(s.system);
    }
    // An entry whose meaning the program does not know did nothing: it must
    // not be taken for done.
    return {PowerResult::Outcome::UnknownAction};
}

void frmMain::Fire() {
    const PowerResult result = Perform();
    if (result.Done()) {
        blnQuit = true;
        s.host.Unload();
        return;
    }
    // An action that did not happen is never silent: the schedule goes back
    // to idle as disarming leaves it (no tick can come again), the window
    // comes to the front, and a message says what failed and why.
    ToggleSchedule();
    ShowMainWindow();
    s.host.SetForeground();
    s.host.Warn(FailureText(strAction, result));
}

// The shell may keep a balloon after the schedule it warned of has ended
// (Windows 10 and 11 keep it as a notification): one clicked then would
// bring the window to arm the action again. An empty text withdraws it.
void frmMain::WithdrawWarning() {
    if (!balloonUp) return;
    balloonUp = false;
    s.tray.ShowBalloon(nid, u"", u"");
}

std::u16string frmMain::FailureText(std::u16string_view label, PowerResult result) {
    std::u16string text = texts::kCannotRun + std::u16string(label) + texts::kFullStop + u"\r\n";
    switch (result.outcome) {
    case PowerResult::Outcome::NotOnThisVersion: return text + texts::kNotOnThisVersion;
    case PowerResult::Outcome::NotOnThisMachine: return text + texts::kNotOnThisMachine;
    case PowerResult::Outcome::UnknownAction: return text + texts::kUnknownAction;
    case PowerResult::Outcome::Failed: break;
    case PowerResult::Outcome::Done: return {};
    }
    // A call may fail without setting an error; the system's text for 0
    // would say the operation succeeded.
    const std::u16string reason = result.error != 0 ? s.system.ErrorText(result.error) : std::u16string();
    return text + (reason.empty() ? texts::kErrorCode + DecimalText(static_cast<int32_t>(result.error)) : reason);
}

// ---- Number boxes and options ---------------------------------------------------

void frmMain::txtPeriod_Change() { TextToBar(c.get<txtPeriod>(), c.get<vsPeriod>()); }
void frmMain::txtHour_Change() { TextToBar(c.get<txtHour>(), c.get<vsHour>()); }
void frmMain::txtMin_Change() { TextToBar(c.get<txtMin>(), c.get<vsMin>()); }
void frmMain::txtBlink_Change() { TextToBar(c.get<txtBlink>(), c.get<vsBlink>()); }
void frmMain::vsPeriod_Change() { c.get<txtPeriod>().SetText(DecimalText(c.get<vsPeriod>().Value())); }
void frmMain::vsHour_Change() { c.get<txtHour>().SetText(DecimalText(c.get<vsHour>().Value())); }
void frmMain::vsMin_Change() { c.get<txtMin>().SetText(TwoDigitText(c.get<vsMin>().Value())); }
void frmMain::vsBlink_Change() { c.get<txtBlink>().SetText(DecimalText(c.get<vsBlink>().Value())); }
void frmMain::txtPeriod_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtHour_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtMin_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtBlink_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }

void frmMain::opt_Click(int16_t index) {
    const bool clock = index != 0;
    c.get<txtHour>().SetEnabled(clock);
    c.get<vsHour>().SetEnabled(clock);
    c.get<txtMin>().SetEnabled(clock);
    c.get<vsMin>().SetEnabled(clock);
    c.get<cmbT>().SetEnabled(clock);
    c.get<txtPeriod>().SetEnabled(!clock);
    c.get<vsPeriod>().SetEnabled(!clock);
    c.get<cmbUnit>().SetEnabled(!clock);
}

void frmMain::chkBlink_Click() {
    c.get<txtBlink>().SetEnabled(c.get<chkBlink>().Value() != 0);
    c.get<vsBlink>().SetEnabled(c.get<chkBlink>().Value() != 0);
}

// ---- Visibility, tray clicks and exit ---------------------------------------------

void frmMain::Form_KeyPress(int16_t& keyAscii) {
    if (keyAscii == kEscape) HideMainWindow();
}

void frmMain::TrayIcon_Notify(TrayNotification notification) {
    switch (notification) {
    case TrayNotification::DoubleClick: ShowMainWindow(); break;
    case TrayNotification::BalloonClick:
        // The balloon's last chance to cancel: the window in front, with the
        // focus on the button, so that Enter or Space disarms. A balloon
        // clicked after its schedule has ended brings the window with the
        // focus on the action list, where neither Enter nor Space arms.
        ShowMainWindow();
        s.host.SetForeground();
        if (blnTimerOn) c.get<cmdTimer>().SetFocus();
        else c.get<cmbAction>().SetFocus();
        break;
    case TrayNotification::RightButtonUp:
        s.host.SetForeground();
        menuAsked = true;
        break;
    }
}

void frmMain::OpenPopupMenu() {
    switch (s.host.PopupMenu()) {
    case PopupChoice::Exit: On({MainEvent::Kind::MenuExit}); break;
    case PopupChoice::About: mnuAbout_Click(); break;
    case PopupChoice::None: break;
    }
}

// The About window, if showing, closes first: it is modal to this one.
void frmMain::ShowMainWindow() {
    if (s.host.AboutShowing()) s.host.UnloadAbout();
    s.host.Show();
    // The countdown shown at once, and ticking on while it shows.
    if (!blnTimerOn) return;
    const int32_t secondsLeft = SecondsLeft();
    ShowSecondsLeft(secondsLeft);
    Plan(secondsLeft);
}

void frmMain::HideMainWindow() {
    s.host.Hide();
    if (blnTimerOn) Plan(SecondsLeft());
}

UnloadDecision frmMain::Form_Unload() {
    if (blnQuit) {
        Tray(kNimDelete);
        return UnloadDecision::Close;
    }
    HideMainWindow();
    return UnloadDecision::StayHidden;
}

void frmMain::mnuAbout_Click() { s.host.ShowAboutModal(); }

void frmMain::mnuExit_Click() {
    WithdrawWarning();
    Release();
    blnQuit = true;
    s.host.Unload();
}

void frmMain::Form_EndSession() { mnuExit_Click(); }

}  // namespace dusklet
