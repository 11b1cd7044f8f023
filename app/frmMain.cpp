#include "app/frmMain.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "app/texts.h"
#include "base/number_text.h"
#include "base/program_folder.h"
#include "power/os_version.h"
#include "power/shutdown.h"

namespace dusklet {

using namespace ctl;

namespace {

constexpr int16_t kEscape = 27;
constexpr int64_t kPostponeSeconds = 600;  // 推迟 10 分钟

// A number into its box, in plain decimals.
void SetNumber(TextBox& box, int32_t n) { box.SetText(DecimalText(n)); }

// Minutes and seconds, as the strip shows a time that has passed: 2:05.
std::u16string MinutesSeconds(uint32_t seconds) {
    return Joined(
        {DecimalText(static_cast<int32_t>(seconds / 60)), u":", TwoDigitText(static_cast<int32_t>(seconds % 60))});
}

// The number a box stands for: its leading number, rounded, moved by `step`,
// within its scroll bar's range. The bar reads Min at its top end (the upper
// bound) and Max at its bottom end.
int16_t NumberIn(const TextBox& text, const ScrollBar& bar, int step = 0) {
    return static_cast<int16_t>(std::clamp(RoundToInt16(LeadingNumber(text.Text())) + step,
                                           std::min<int>(bar.Min(), bar.Max()), std::max<int>(bar.Min(), bar.Max())));
}

// Keeps a number box within its scroll bar's range and the bar on the box's
// number. A number above the range is cut back at once; one below it (an
// emptied box, say) is left while the user types in the box, and corrected
// when the focus leaves it. Each write raises the box's change handler inside
// the write, so the corrected text has already gone through this step when
// the write returns.
void TextToBar(TextBox& text, ScrollBar& bar) {
    if (LeadingNumber(text.Text()) > static_cast<double>(bar.Min())) SetNumber(text, bar.Min());
    if (!text.Focused() && LeadingNumber(text.Text()) < static_cast<double>(bar.Max())) SetNumber(text, bar.Max());
    bar.SetValue(NumberIn(text, bar));
}

// The bar's number into its box, in the box's form. While the user types in
// the box, a text that already stands for that number stays as typed ("4" in
// the minute box, not "04"), so that the next digit still fits.
void BarToText(TextBox& text, const ScrollBar& bar, std::u16string (*form)(int32_t)) {
    if (text.Focused() && NumberIn(text, bar) == bar.Value()) return;
    text.SetText(form(bar.Value()));
}

// A box the user has left, or that arming reads: its number within the
// range, in the bar's form. Up and Down settle it one `step` up or down.
void Settle(TextBox& text, ScrollBar& bar, std::u16string (*form)(int32_t), int step = 0) {
    bar.SetValue(NumberIn(text, bar, step));
    text.SetText(form(bar.Value()));
}

// Up and Down in a number box raise and lower its number by one, the step of
// its bar's arrows, within the range, and the box shows it in its bar's form
// at once (an emptied box its lower bound, the minute two digits).
void Step(TextBox& text, ScrollBar& bar, std::u16string (*form)(int32_t), int16_t& keyCode) {
    if (keyCode != kKeyUp && keyCode != kKeyDown) return;
    Settle(text, bar, form, keyCode == kKeyUp ? 1 : -1);
    keyCode = 0;
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
    c.get<txtPeriod>().onKeyDown = Event<int16_t&>::To<&frmMain::txtPeriod_KeyDown>(this);
    c.get<txtHour>().onKeyDown = Event<int16_t&>::To<&frmMain::txtHour_KeyDown>(this);
    c.get<txtMin>().onKeyDown = Event<int16_t&>::To<&frmMain::txtMin_KeyDown>(this);
    c.get<txtBlink>().onKeyDown = Event<int16_t&>::To<&frmMain::txtBlink_KeyDown>(this);
    c.get<txtPeriod>().onLostFocus = Event<>::To<&frmMain::txtPeriod_LostFocus>(this);
    c.get<txtHour>().onLostFocus = Event<>::To<&frmMain::txtHour_LostFocus>(this);
    c.get<txtMin>().onLostFocus = Event<>::To<&frmMain::txtMin_LostFocus>(this);
    c.get<txtBlink>().onLostFocus = Event<>::To<&frmMain::txtBlink_LostFocus>(this);
    c.get<txtKb>().onChange = Event<>::To<&frmMain::txtKb_Change>(this);
    c.get<txtQuiet>().onChange = Event<>::To<&frmMain::txtQuiet_Change>(this);
    c.get<txtIdle>().onChange = Event<>::To<&frmMain::txtIdle_Change>(this);
    c.get<vsQuiet>().onChange = Event<>::To<&frmMain::vsQuiet_Change>(this);
    c.get<vsIdle>().onChange = Event<>::To<&frmMain::vsIdle_Change>(this);
    c.get<txtKb>().onKeyPress = Event<int16_t&>::To<&frmMain::txtKb_KeyPress>(this);
    c.get<txtQuiet>().onKeyPress = Event<int16_t&>::To<&frmMain::txtQuiet_KeyPress>(this);
    c.get<txtIdle>().onKeyPress = Event<int16_t&>::To<&frmMain::txtIdle_KeyPress>(this);
    c.get<txtKb>().onKeyDown = Event<int16_t&>::To<&frmMain::txtKb_KeyDown>(this);
    c.get<txtQuiet>().onKeyDown = Event<int16_t&>::To<&frmMain::txtQuiet_KeyDown>(this);
    c.get<txtIdle>().onKeyDown = Event<int16_t&>::To<&frmMain::txtIdle_KeyDown>(this);
    c.get<txtKb>().onLostFocus = Event<>::To<&frmMain::txtKb_LostFocus>(this);
    c.get<txtQuiet>().onLostFocus = Event<>::To<&frmMain::txtQuiet_LostFocus>(this);
    c.get<txtIdle>().onLostFocus = Event<>::To<&frmMain::txtIdle_LostFocus>(this);
    c.get<opt0>().onClick = Event<>::To<&frmMain::opt0_Click>(this);
    c.get<opt1>().onClick = Event<>::To<&frmMain::opt1_Click>(this);
    c.get<opt2>().onClick = Event<>::To<&frmMain::opt2_Click>(this);
    c.get<cmbCondition>().onChange = Event<>::To<&frmMain::cmbCondition_Change>(this);
    c.get<cmbProgram>().onDropDown = Event<>::To<&frmMain::cmbProgram_DropDown>(this);
    c.get<chkBlink>().onClick = Event<>::To<&frmMain::chkBlink_Click>(this);
}

// The icon in the notification area with the record's tooltip and picture.
// The shell says nothing when it loses an icon, so a modify it refuses means
// the icon is gone and it is added again; an add it refuses may be of an icon
// it still holds. While it takes neither (Explorer still starting, say), it
// is asked again every few seconds: a program that hides while armed must
// have its icon to be found again.
void frmMain::ShowTrayIcon() {
    const auto modify = [this] { return s.tray.NotifyIcon(kNimModify, trayRecord_); };
    const auto add = [this] { return s.tray.NotifyIcon(kNimAdd, trayRecord_); };
    iconInTray_ = iconInTray_ ? modify() || add() : add() || modify();
    if (!iconInTray_) s.host.RetryTrayIcon();
}

bool frmMain::Form_Initialize() {
    s.host.AttachSkin(s.host.ProgramFolder() + texts::kSkinFile, u"");
    s.host.InitCommonControls();
    if (s.host.AnotherInstanceRunning()) {
        s.host.MsgBox(texts::kAlreadyRunning, texts::kAlreadyRunningTitle, 64);
        // The user started it to find the running copy: that one comes forward.
        s.host.ShowRunningCopy();
        return false;
    }
    const OSInfo info = GetOSInfo(s.system);
    if (VersionCanLock(info)) c.get<cmbAction>().AddItem(layout_lists::kLock.text, layout_lists::kLock.data);
    c.get<cmbAction>().SetListIndex(0);
    c.get<cmbUnit>().SetListIndex(0);
    c.get<cmbT>().SetListIndex(0);
    // The conditions this system can watch; the 当 mode only where one is.
    for (const ListItem& item : layout_lists::kConditions)
        if (CanWatch(info, static_cast<Condition>(item.data))) c.get<cmbCondition>().AddItem(item.text, item.data);
    c.get<cmbCondition>().SetListIndex(0);
    c.get<opt2>().SetEnabled(c.get<cmbCondition>().ItemData() >= 0);
    ShowConditionRows();

    trayRecord_.cbSize = kNotifyIconDataSize;
    trayRecord_.hIcon = s.host.IconHandle();
    trayRecord_.hWnd = s.host.WindowHandle();
    SetTip(trayRecord_, std::u16string(texts::kIdleTip) + u'\0');
    trayRecord_.uCallbackMessage = kTrayCallbackMessage;
    trayRecord_.uFlags = kNifMessage | kNifIcon | kNifTip;
    trayRecord_.uID = 1;
    ShowTrayIcon();
    return true;
}

// After the shell has restarted, or refused the icon: the icon again, as it
// is now (blinking during a warning), and the panel where the new taskbar
// leaves room for it.
void frmMain::RestoreTrayIcon() {
    iconInTray_ = false;
    ShowTrayIcon();
    if (panelUp_) s.host.PlacePanel();
}

// ---- The one way in for the schedule's events -------------------------------

void frmMain::On(MainEvent event) {
    if (busy_) {
        s.host.Later(event);
        return;
    }
    busy_ = true;
    switch (event.kind) {
    case MainEvent::Kind::Click: cmdTimer_Click(); break;
    case MainEvent::Kind::Tick: Timer_Timer(); break;
    case MainEvent::Kind::Wake: Wake_Timer(); break;
    case MainEvent::Kind::Tray: TrayIcon_Notify(static_cast<TrayNotification>(event.detail)); break;
    case MainEvent::Kind::MenuExit: mnuExit_Click(); break;
    case MainEvent::Kind::PowerSuspend: Form_PowerSuspend(); break;
    case MainEvent::Kind::PowerResume: Form_PowerResume(); break;
    case MainEvent::Kind::TimeChange: Form_TimeChange(); break;
    case MainEvent::Kind::TrayIconLost: RestoreTrayIcon(); break;
    case MainEvent::Kind::Postpone: cmdPostpone_Click(); break;
    case MainEvent::Kind::Cancel: cmdCancel_Click(); break;
    case MainEvent::Kind::IconChanged: TrayIcon_Changed(); break;
    case MainEvent::Kind::ProgramEnded: Program_Ended(event.detail); break;
    case MainEvent::Kind::Sample: Watch_Sample(); break;
    case MainEvent::Kind::IdleLook: LookForSomebody(); break;
    }
    busy_ = false;
    if (std::exchange(menuAsked_, false)) OpenPopupMenu();
}

// ---- The command line ---------------------------------------------------------

uint32_t frmMain::Command(const dusklet::Command& command) {
    if (busy_) return exit_code::kBusy;
    busy_ = true;
    uint32_t code = exit_code::kDone;
    switch (command.kind) {
    case Command::Kind::Arm: code = ArmFromCommand(command); break;
    case Command::Kind::Cancel:
        if (schedule_) ToggleSchedule();
        else code = exit_code::kNotFound;  // nothing armed to cancel
        break;
    case Command::Kind::Postpone:
        if (schedule_ && !schedule_->Waiting()) Postpone(int64_t{command.postponeMinutes} * 60);
        else code = exit_code::kNotFound;  // nothing due to postpone
        break;
    case Command::Kind::Show: BringForward(); break;
    case Command::Kind::None:
    case Command::Kind::Usage: break;
    }
    busy_ = false;
    return code;
}

// The window's settings as the command line gives them, then the button:
// the same arming as by hand, replacing one that is armed. A balloon says
// what is armed now, since no window may show it.
uint32_t frmMain::ArmFromCommand(const dusklet::Command& command) {
    // A refused arming changes nothing: the armed schedule, its tooltip, its
    // warning and its wake-up stay as they were. Locking is refused where it
    // is not offered (before Windows 2000).
    if (const PowerResult refusal = Refusal(command.action); !refusal.Done()) {
        s.host.Warn(FailureText(layout_lists::LabelOf(command.action), refusal));
        return exit_code::kRefused;
    }
    // So is a condition this system cannot watch, and a program that does not run.
    const bool exit = command.condition == Condition::ProgramExit;
    const std::optional<uint32_t> program = exit ? ProgramNamed(command) : std::nullopt;
    if (command.condition && !CanWatch(GetOSInfo(s.system), *command.condition)) {
        s.host.Warn(CannotWatchText(*command.condition));
        return exit_code::kRefused;
    }
    if (exit && !program) {
        s.host.Warn(Joined({texts::kNotRunning, command.program, texts::kFullStop}));
        return exit_code::kBadArguments;
    }
    if (schedule_) ToggleSchedule();
    c.get<cmbAction>().ChooseData(layout_lists::Data(command.action));
    const int16_t mode = command.condition ? 2 : command.clock ? 1 : 0;
    c.get<opt0>().SetValue(mode == 0);
    c.get<opt1>().SetValue(mode == 1);
    c.get<opt2>().SetValue(mode == 2);
    if (command.condition) c.get<cmbCondition>().ChooseData(layout_lists::Data(*command.condition));
    opt_Click(mode);
    if (program) {
        // The program as named: one process by its id, or the executable's processes.
        byId_ = command.programId.has_value();
        c.get<cmbProgram>().Clear();
        c.get<cmbProgram>().AddItem(s.watch.NameOf(*program), static_cast<int32_t>(*program));
        c.get<cmbProgram>().SetListIndex(0);
    } else if (command.condition == Condition::DownloadDone) {
        SetNumber(c.get<txtKb>(), command.kb);
        SetNumber(c.get<txtQuiet>(), command.minutes);
    } else if (command.condition == Condition::NobodyThere) {
        SetNumber(c.get<txtIdle>(), command.minutes);
    } else if (command.clock) {
        SetClockBoxes(command.hour, command.minute);
    } else {
        SetNumber(c.get<txtPeriod>(), command.amount);
        c.get<cmbUnit>().ChooseData(layout_lists::Data(command.unit));
    }
    c.get<chkForce>().SetValue(command.force ? 1 : 0);
    c.get<chkBlink>().SetValue(command.lead ? 1 : 0);
    chkBlink_Click();
    if (command.lead) SetNumber(c.get<txtBlink>(), *command.lead);
    ToggleSchedule();
    if (!schedule_) return exit_code::kRefused;
    if (s.tray.ShellVersion() >= 5) {
        balloonUp_ = true;
        s.tray.ShowBalloon(trayRecord_, texts::kProgramTitle, TipText(trayRecord_));
    }
    if (command.show) BringForward();
    return exit_code::kDone;
}

// The boxes of the clock mode at a time of the 24-hour clock.
void frmMain::SetClockBoxes(int hour, int minute) {
    SetNumber(c.get<txtHour>(), hour % 12 == 0 ? 12 : hour % 12);
    c.get<txtMin>().SetText(TwoDigitText(minute));
    c.get<cmbT>().ChooseData(layout_lists::Data(hour < 12 ? HalfDay::AM : HalfDay::PM));
}

// ---- Arming and disarming -------------------------------------------------

void frmMain::cmdTimer_Click() { ToggleSchedule(); }

void frmMain::ToggleSchedule() {
    if (schedule_) {
        Disarm();
        Timer.SetEnabled(false);
        Release();
        schedule_.reset();
        return;
    }
    if (!Arm()) return;
    // Armed: the machine stays awake for the deadline (it may still be
    // put to sleep by the user), and the tick or a wake-up waits for it.
    s.deadline.KeepAwake(true);
    holding_ = true;
    Plan(s.clock.Now());
    LookForSomebody();
}

// The armed schedule's hold on the system, given back once for each way the
// schedule ends: the stay-awake request and the wake-up.
void frmMain::Release() {
    if (!std::exchange(holding_, false)) return;
    s.deadline.KeepAwake(false);
    if (s.deadline.CanWake()) s.deadline.CancelWake();
    StopWatching();
}

void frmMain::Disarm() {
    EndWarning();
    c.get<lblStatus>().SetCaption(texts::kDisarmedStatus);
    shownSeconds_.reset();
    c.get<cmdTimer>().SetCaption(texts::kIdleButton);
    trayRecord_.hIcon = s.host.IconHandle();
    SetTip(trayRecord_, std::u16string(texts::kIdleTip) + u'\0');
    ShowTrayIcon();
    c.get<frame>().SetEnabled(true);
}

bool frmMain::Arm() {
    CorrectNumberBoxes();
    // What the due moment would refuse, known now, is said now: the user
    // may leave the machine alone for hours counting on it.
    if (const PowerResult refusal = Refusal(static_cast<PowerAction>(c.get<cmbAction>().ItemData())); !refusal.Done()) {
        s.host.Warn(FailureText(c.get<cmbAction>().Text(), refusal));
        return false;
    }
    const bool when = c.get<opt2>().Value();
    if (when && !StartWatching()) return false;
    c.get<frame>().SetEnabled(false);
    c.get<cmdTimer>().SetCaption(texts::kArmedButton);
    actionLabel_ = c.get<cmbAction>().Text();
    action_ = static_cast<PowerAction>(c.get<cmbAction>().ItemData());
    force_ = c.get<chkForce>().Value() != 0;
    schedule_ = when ? Schedule::OnCondition(s.clock.Now(), Lead()) : ScheduleFromSettings(s.clock.Now());
    SetArmedTip();
    ShowTrayIcon();
    return true;
}

// The schedule the settings describe: a countdown of the period box's number
// of the unit chosen, or the clock time of the hour and minute boxes.
WarningLead frmMain::Lead() const {
    return {c.get<chkBlink>().Value() != 0, RoundToInt32(LeadingNumber(c.get<txtBlink>().Text()))};
}

Schedule frmMain::ScheduleFromSettings(int64_t now) {
    const WarningLead lead = Lead();
    if (c.get<opt0>().Value()) {
        const int64_t unit = c.get<cmbUnit>().ItemData();
        return Schedule::Countdown(now, unit * RoundToInt32(LeadingNumber(c.get<txtPeriod>().Text())), lead);
    }
    const int hour12 = RoundToInt16(LeadingNumber(c.get<txtHour>().Text()));
    const int minute = RoundToInt16(LeadingNumber(c.get<txtMin>().Text()));
    return Schedule::At(now, s.zone, hour12 % 12 + c.get<cmbT>().ItemData(), minute, lead);
}

// What will happen and when, or on what condition while it waits for one.
bool frmMain::SetArmedTip() {
    const auto before = trayRecord_.szTip;
    constexpr std::u16string_view kEnd(u"", 1);  // the tip's NUL
    std::u16string tip;
    if (!schedule_->Waiting())
        tip = Joined({texts::kTipLead, GeneralDate(s.dateFormat, s.zone.ToLocal(schedule_->Due())), texts::kTipRun,
                      actionLabel_, kEnd});
    else if (program_) tip = Joined({program_->Name(), texts::kTipExited, actionLabel_, kEnd});
    else if (network_)
        tip = Joined({texts::kTipDownload, actionLabel_, texts::kOpenBracket, DecimalText(network_->Minutes()),
                      texts::kMinutesBelow, DecimalText(network_->LimitKb()), texts::kKbClose, kEnd});
    else tip = Joined({texts::kTipNobody, DecimalText(nobody_->minutes), texts::kTipMinutesRun, actionLabel_, kEnd});
    SetTip(trayRecord_, tip);
    return trayRecord_.szTip != before;
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

// ---- The tick ---------------------------------------------------------------

void frmMain::Timer_Timer() {
    // Only an armed schedule ticks: any program may post a WM_TIMER, and one
    // taken for a tick while disarmed would run the last action, or none chosen.
    if (schedule_) Look();
}

void frmMain::Wake_Timer() {
    if (!schedule_) return;
    schedule_->Woken(s.clock.Now());  // spent: the next one is aimed afresh
    Look();
}

// One look at the armed schedule, from the tick or a wake-up: the seconds
// left in the strip, the warning, the action once due, and how to wait on.
void frmMain::Look() {
    const int64_t now = s.clock.Now();
    // Someone back at the keyboard takes the due moment of 无人使用 away.
    if (nobody_ && !schedule_->Waiting()) LookForSomebody();
    if (schedule_->Waiting()) {
        ShowProgress();
        Plan(now);
        return;
    }
    const int64_t due = schedule_->Due();
    const Schedule::Look look = schedule_->LookAt(now);
    if (schedule_->Due() != due && SetArmedTip()) ShowTrayIcon();
    const int64_t secondsLeft = schedule_->SecondsLeft(now);
    ShowSecondsLeft(secondsLeft);
    if (schedule_->InWarning(now)) {
        if (schedule_->TakeWarning(now)) WarnOfTheAction(secondsLeft);
        // The last call: screen readers hear the panel again, and where the
        // shell holds the balloon back (a film, a game) the sound comes
        // once more.
        if (schedule_->TakeLastCall(now)) {
            s.host.AlertPanel();
            if (s.host.NotificationsHeldBack()) s.host.Beep();
        }
        trayRecord_.hIcon = iconShown_ ? 0 : s.host.IconHandle();
        ShowTrayIcon();
        iconShown_ = !iconShown_;
    } else if (panelUp_ || !iconShown_) {
        // The clock was set back out of the warning period: the warning
        // ends, and comes again at its time.
        EndWarning();
        ShowIconAgain();
    }
    if (look == Schedule::Look::Act) {
        Fire();
        return;
    }
    Plan(now);
}

// The strip, and the panel where it shows, change once a second; the ticks
// between leave them alone.
void frmMain::ShowSecondsLeft(int64_t secondsLeft) {
    if (shownSeconds_ == secondsLeft) return;
    c.get<lblStatus>().SetCaption(DecimalText(static_cast<int32_t>(std::min<int64_t>(secondsLeft, INT32_MAX))) +
                                  texts::kSecondsLeft);
    if (panelUp_) s.host.SetPanelText(PanelText(secondsLeft));
    shownSeconds_ = secondsLeft;
}

// What the strip says while the window shows: the seconds left, or how far
// the condition has come.
void frmMain::ShowLeft(int64_t now) {
    if (schedule_->Waiting()) ShowProgress();
    else ShowSecondsLeft(schedule_->SecondsLeft(now));
}

void frmMain::ShowProgress() {
    std::u16string text;
    if (program_) {
        text = Joined({texts::kWaitingFor, program_->Name(), texts::kStillRunning,
                       DecimalText(static_cast<int32_t>(program_->Running())), texts::kRunningCount});
    } else if (network_) {
        const uint32_t tick = s.watch.Tick();
        text = Joined({texts::kNetwork, DecimalText(network_->RateKb().value_or(0)), texts::kKbQuiet,
                       MinutesSeconds(network_->QuietMs(tick) / 1000)});
    } else {
        text =
            Joined({texts::kIdleFor, MinutesSeconds(NobodyThere::IdleMs(s.watch.Tick(), s.watch.LastInput()) / 1000)});
    }
    shownSeconds_.reset();
    c.get<lblStatus>().SetCaption(text);
}

std::u16string frmMain::PanelText(int64_t secondsLeft) const {
    return Joined({DecimalText(static_cast<int32_t>(std::min<int64_t>(secondsLeft, INT32_MAX))), texts::kSecondsLeft,
                   actionLabel_});
}

// How the armed schedule waits. The 500 ms tick runs while the window shows
// the countdown, during the warning period, and where the system cannot wake
// the program; otherwise nothing runs until a wake-up, aimed at the start of
// the warning period, or at the due moment once that has begun, so that the
// action comes on time. A time change or a resume aims it afresh.
void frmMain::Plan(int64_t now) {
    // A condition not met yet needs no wake-up: a sleeping machine does no
    // work to wait for. The tick runs only for the strip of a window that shows.
    if (schedule_->Waiting()) {
        Timer.SetEnabled(s.host.Visible());
        return;
    }
    const int64_t at = schedule_->WakeMoment(now);
    if (schedule_->Aimed() != at && s.deadline.CanWake())
        schedule_->Aim(s.deadline.WakeAt(at) ? std::optional(at) : std::nullopt);
    Timer.SetEnabled(schedule_->InWarning(now) || s.host.Visible() || schedule_->Aimed() != at);
}

void frmMain::Form_PowerSuspend() {
    if (schedule_) schedule_->Suspend();
}

// After the machine has slept, a deadline that has passed, or lies nearer
// than the warning lead, does not act in front of a user who has just come
// back: a warning period of the lead, at least 30 s, runs first, with the
// blinking and the balloon, and the action follows unless the user disarms.
void frmMain::Form_PowerResume() {
    if (!schedule_) return;
    const int64_t now = s.clock.Now();
    schedule_->Resume(now);
    if (SetArmedTip()) ShowTrayIcon();
    Look();
}

// A new system time, time zone or date form: a clock time is resolved again,
// the tooltip says the due moment as the wall clock now reads it, and the
// wake-up is aimed afresh.
void frmMain::Form_TimeChange() {
    if (!schedule_) return;
    schedule_->TimeChanged(s.clock.Now(), s.zone);
    if (SetArmedTip()) ShowTrayIcon();
    Look();
}

// Once per warning period, when it begins: the panel on top of every window
// with the countdown and a way to postpone or cancel, the warning sound, and
// a balloon from the icon where the shell can show one (the icon itself may
// sit in the hidden part of the notification area).
void frmMain::WarnOfTheAction(int64_t secondsLeft) {
    panelUp_ = true;
    // Where a move of the mouse takes the warning away, the panel says so.
    s.host.ShowPanel(PanelText(secondsLeft), nobody_ ? texts::kPanelTitleNobody : texts::kProgramTitle);
    s.host.AlertPanel();
    s.host.Beep();
    if (s.tray.ShellVersion() < 5) return;
    balloonUp_ = true;
    s.tray.ShowBalloon(trayRecord_, texts::kProgramTitle,
                       Joined({met_, met_.empty() ? u"" : texts::kComma, PanelText(secondsLeft), texts::kFullStop,
                               texts::kClickToCancel}));
}

PowerResult frmMain::Perform() {
    // The stay-awake request and the wake-up go before the call: the action
    // may put the machine to sleep itself. The warning is over.
    Release();
    ClosePanel();
    switch (action_) {
    case PowerAction::PowerOff: return ExitWindowsAction(s.system, kEwxPowerOff, force_);
    case PowerAction::Restart: return ExitWindowsAction(s.system, kEwxReboot, force_);
    case PowerAction::LogOff: return ExitWindowsAction(s.system, kEwxLogOff, force_);
    case PowerAction::Suspend: return SuspendAction(s.system, false, force_, false);
    case PowerAction::Hibernate: return SuspendAction(s.system, true, force_, false);
    case PowerAction::Lock: return LockAction(s.system);
    }
    // An entry whose meaning the program does not know did nothing: it must
    // not be taken for done.
    return {PowerResult::Outcome::UnknownAction};
}

void frmMain::Fire() {
    const PowerResult result = Perform();
    if (result.Done()) {
        quitting_ = true;
        s.host.Unload();
        return;
    }
    // An action that did not happen is never silent: the schedule goes back
    // to idle as disarming leaves it (no tick can come again), the window
    // comes to the front, and a message says what failed and why.
    ToggleSchedule();
    ShowMainWindow();
    s.host.SetForeground();
    s.host.Warn(FailureText(actionLabel_, result));
}

// The shell may keep a balloon after the warning it gave has ended (Windows
// 10 and 11 keep it as a notification): one clicked then would bring the
// window to arm the action again. An empty text withdraws it.
void frmMain::EndWarning() {
    ClosePanel();
    if (!std::exchange(balloonUp_, false)) return;
    s.tray.ShowBalloon(trayRecord_, u"", u"");
}

void frmMain::ClosePanel() {
    if (std::exchange(panelUp_, false)) s.host.ClosePanel();
}

// The action later than it was due, or than now once that has passed: the
// warning ends (the blinking, the balloon, the panel), the tooltip and the
// strip say the new moment, the wake-up is aimed at it and the machine is
// still asked to stay awake; the warning comes again before it.
void frmMain::Postpone(int64_t seconds) {
    if (!schedule_ || schedule_->Waiting()) return;  // nothing due yet
    const int64_t now = s.clock.Now();
    EndWarning();
    schedule_->Postpone(now, seconds, s.zone);
    // The clock mode's boxes say the new time, so that arming again arms it.
    if (c.get<opt1>().Value()) {
        const CivilDateTime due = s.zone.ToLocal(schedule_->Due());
        SetClockBoxes(due.hour, due.minute);
    }
    SetArmedTip();
    ShowIconAgain();
    ShowSecondsLeft(schedule_->SecondsLeft(now));
    Plan(now);
}

// The icon's own picture back in the tray, where the blinking may have taken it.
void frmMain::ShowIconAgain() {
    trayRecord_.hIcon = s.host.IconHandle();
    iconShown_ = true;
    ShowTrayIcon();
}

void frmMain::cmdPostpone_Click() { Postpone(kPostponeSeconds); }

void frmMain::cmdCancel_Click() {
    if (schedule_) ToggleSchedule();
}

// The icon at its new size goes to the tray at once; while the blinking has
// the picture taken away, the next blink brings it.
void frmMain::TrayIcon_Changed() {
    if (trayRecord_.hIcon == 0) return;
    trayRecord_.hIcon = s.host.IconHandle();
    ShowTrayIcon();
}

std::u16string frmMain::FailureText(std::u16string_view label, PowerResult result) {
    std::u16string_view why;
    switch (result.outcome) {
    case PowerResult::Outcome::NotOnThisVersion: why = texts::kNotOnThisVersion; break;
    case PowerResult::Outcome::NotOnThisMachine: why = texts::kNotOnThisMachine; break;
    case PowerResult::Outcome::UnknownAction: why = texts::kUnknownAction; break;
    case PowerResult::Outcome::Failed: break;
    case PowerResult::Outcome::Done: return {};
    }
    const std::u16string text = Joined({texts::kCannotRun, label, texts::kFullStop, u"\r\n"});
    if (!why.empty()) return text + std::u16string(why);
    // A call may fail without setting an error; the system's text for 0
    // would say the operation succeeded.
    const std::u16string reason = result.error != 0 ? s.system.ErrorText(result.error) : std::u16string();
    return Joined(
        {text, reason.empty() ? Joined({texts::kErrorCode, DecimalText(static_cast<int32_t>(result.error))}) : reason});
}

// ---- The 当 mode's conditions -------------------------------------------------------

bool frmMain::CanWatch(OSInfo info, Condition condition) {
    const Watchable watchable = WatchableOn(info, condition);
    return watchable == Watchable::Yes || (watchable == Watchable::IfInstalled && s.watch.Installed(condition));
}

std::u16string frmMain::CannotWatchText(Condition condition) {
    return Joined(
        {texts::kCannotWatch, layout_lists::kConditions[layout_lists::Data(condition)].text, texts::kCannotWatchEnd});
}

// A process of the program the command line names, if one runs: by its
// executable's name, or its id.
std::optional<uint32_t> frmMain::ProgramNamed(const dusklet::Command& command) {
    if (command.programId) return s.watch.NameOf(*command.programId).empty() ? std::nullopt : command.programId;
    const std::vector<uint32_t> running = s.watch.Running(command.program);
    return running.empty() ? std::nullopt : std::optional(running.front());
}

// Arming on a condition: its watching begins, or it is refused with why.
bool frmMain::StartWatching() {
    const int32_t chosen = c.get<cmbCondition>().ItemData();
    switch (static_cast<Condition>(chosen)) {
    case Condition::ProgramExit: {
        // The entry chosen means a process: the program is its executable.
        const int32_t id = c.get<cmbProgram>().ItemData();
        if (id == ComboBox::kNone) {
            s.host.Warn(texts::kChooseProgram);
            return false;
        }
        program_.emplace(s.watch.NameOf(static_cast<uint32_t>(id)), !byId_);
        if (byId_) WaitForEnd(static_cast<uint32_t>(id));
        else WaitForProgram();
        if (program_->Holds()) {
            s.host.Warn(Joined({texts::kNotRunning, c.get<cmbProgram>().Text(), texts::kFullStop}));
            program_.reset();
            return false;
        }
        met_ = Joined({program_->Name(), texts::kHasEnded});
        return true;
    }
    case Condition::DownloadDone: {
        std::optional<std::vector<InterfaceBytes>> sample = s.watch.Received();
        if (!sample) break;
        network_.emplace(NumberOf(c.get<txtKb>()), NumberOf(c.get<txtQuiet>()));
        network_->Add(s.watch.Tick(), std::move(*sample));
        s.watch.Sample(true);
        met_ = texts::kDownloaded;
        return true;
    }
    case Condition::NobodyThere:
        nobody_ = NobodyThere{NumberOf(c.get<txtIdle>())};
        met_ = Joined({texts::kIdleFor, DecimalText(nobody_->minutes), texts::kSpaceMinutes});
        return true;  // looked at once armed
    }
    s.host.Warn(CannotWatchText(static_cast<Condition>(chosen)));
    return false;
}

void frmMain::StopWatching() {
    if (program_) s.watch.StopWaiting();
    s.watch.Sample(false);
    if (nobody_) s.watch.LookIn(std::nullopt);
    program_.reset();
    network_.reset();
    nobody_.reset();
    met_.clear();
}

// One of the program's processes has ended: those of its name that started
// meanwhile are watched too; once none runs, the warning comes.
void frmMain::Program_Ended(uint32_t id) {
    if (!program_) return;
    program_->Ended(id);
    if (program_->ByName()) WaitForProgram();
    Holding(program_->Holds());
}

// Every process of the program's executable that runs, and is not waited for yet.
void frmMain::WaitForProgram() {
    if (program_->Name().empty()) return;  // it ran no more when it was chosen
    for (uint32_t id : s.watch.Running(program_->Name())) WaitForEnd(id);
}

// A process that cannot be waited for has ended already, or is looked for
// every few seconds (another user's: it runs, unseen).
void frmMain::WaitForEnd(uint32_t id) {
    if (!program_->Watch(id)) return;
    const Watch::Wait wait = s.watch.WaitForEnd(id);
    if (wait == Watch::Wait::Ended) program_->Ended(id);
    if (wait == Watch::Wait::Unseen) s.watch.Sample(true);
}

void frmMain::Watch_Sample() {
    if (program_) {
        program_->Seen(s.watch.Running(program_->Name()));
        if (program_->ByName()) WaitForProgram();
        if (program_->Holds()) s.watch.Sample(false);
        Holding(program_->Holds());
        return;
    }
    if (!network_) return;
    const uint32_t tick = s.watch.Tick();
    if (std::optional<std::vector<InterfaceBytes>> sample = s.watch.Received()) network_->Add(tick, std::move(*sample));
    Holding(network_->Holds(tick));
}

// Nobody there, or somebody: looked at when the idle time would reach the
// minutes (a single wake-up, aimed afresh each time), and at every tick of a
// warning or a look once an action is due.
void frmMain::LookForSomebody() {
    if (!nobody_) return;
    const uint32_t idle = NobodyThere::IdleMs(s.watch.Tick(), s.watch.LastInput());
    const bool fullScreen = s.watch.FullScreen();
    Holding(nobody_->Holds(idle, fullScreen));
    if (nobody_ && schedule_->Waiting()) s.watch.LookIn(nobody_->NextLookMs(idle, fullScreen));
}

// The condition holds, or holds no more. Met, the warning comes as after a
// resume, then the action; lost while the action is due (in the warning,
// or postponed), the warning ends and the watching goes on.
void frmMain::Holding(bool holds) {
    if (!schedule_ || holds != schedule_->Waiting()) return;
    const int64_t now = s.clock.Now();
    if (holds) {
        schedule_->ConditionMet(now);
        SetArmedTip();
        ShowTrayIcon();
        Look();
        return;
    }
    EndWarning();
    schedule_->ConditionLost();
    if (s.deadline.CanWake()) s.deadline.CancelWake();
    SetArmedTip();
    ShowIconAgain();
    ShowProgress();
    Plan(now);
}

// ---- Number boxes and options ---------------------------------------------------

void frmMain::txtPeriod_Change() { TextToBar(c.get<txtPeriod>(), c.get<vsPeriod>()); }
void frmMain::txtHour_Change() { TextToBar(c.get<txtHour>(), c.get<vsHour>()); }
void frmMain::txtMin_Change() { TextToBar(c.get<txtMin>(), c.get<vsMin>()); }
void frmMain::txtBlink_Change() { TextToBar(c.get<txtBlink>(), c.get<vsBlink>()); }
void frmMain::vsPeriod_Change() { BarToText(c.get<txtPeriod>(), c.get<vsPeriod>(), DecimalText); }
void frmMain::vsHour_Change() { BarToText(c.get<txtHour>(), c.get<vsHour>(), DecimalText); }
void frmMain::vsMin_Change() { BarToText(c.get<txtMin>(), c.get<vsMin>(), TwoDigitText); }
void frmMain::vsBlink_Change() { BarToText(c.get<txtBlink>(), c.get<vsBlink>(), DecimalText); }
void frmMain::txtQuiet_Change() { TextToBar(c.get<txtQuiet>(), c.get<vsQuiet>()); }
void frmMain::txtIdle_Change() { TextToBar(c.get<txtIdle>(), c.get<vsIdle>()); }
void frmMain::vsQuiet_Change() { BarToText(c.get<txtQuiet>(), c.get<vsQuiet>(), DecimalText); }
void frmMain::vsIdle_Change() { BarToText(c.get<txtIdle>(), c.get<vsIdle>(), DecimalText); }
void frmMain::txtQuiet_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtIdle_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtKb_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtQuiet_KeyDown(int16_t& keyCode) { Step(c.get<txtQuiet>(), c.get<vsQuiet>(), DecimalText, keyCode); }
void frmMain::txtIdle_KeyDown(int16_t& keyCode) { Step(c.get<txtIdle>(), c.get<vsIdle>(), DecimalText, keyCode); }
void frmMain::txtQuiet_LostFocus() { Settle(c.get<txtQuiet>(), c.get<vsQuiet>(), DecimalText); }
void frmMain::txtIdle_LostFocus() { Settle(c.get<txtIdle>(), c.get<vsIdle>(), DecimalText); }

// The rate box has no spin bar (its numbers go beyond one's): a number above
// its range is cut back at once, one below it settled when the box is left;
// Up and Down step it.
void frmMain::txtKb_Change() {
    if (LeadingNumber(c.get<txtKb>().Text()) > kMostKb) SetNumber(c.get<txtKb>(), kMostKb);
}
void frmMain::txtKb_LostFocus() { SettleKb(0); }
void frmMain::txtKb_KeyDown(int16_t& keyCode) {
    if (keyCode != kKeyUp && keyCode != kKeyDown) return;
    SettleKb(keyCode == kKeyUp ? 1 : -1);
    keyCode = 0;
}
void frmMain::SettleKb(int step) {
    const double typed = std::min<double>(LeadingNumber(c.get<txtKb>().Text()), kMostKb);
    SetNumber(c.get<txtKb>(), std::clamp(static_cast<int32_t>(typed) + step, 1, kMostKb));
}
int32_t frmMain::NumberOf(const TextBox& box) { return RoundToInt32(LeadingNumber(box.Text())); }

void frmMain::txtPeriod_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtHour_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtMin_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtBlink_KeyPress(int16_t& keyAscii) { FilterDigit(keyAscii); }
void frmMain::txtPeriod_KeyDown(int16_t& keyCode) { Step(c.get<txtPeriod>(), c.get<vsPeriod>(), DecimalText, keyCode); }
void frmMain::txtHour_KeyDown(int16_t& keyCode) { Step(c.get<txtHour>(), c.get<vsHour>(), DecimalText, keyCode); }
void frmMain::txtMin_KeyDown(int16_t& keyCode) { Step(c.get<txtMin>(), c.get<vsMin>(), TwoDigitText, keyCode); }
void frmMain::txtBlink_KeyDown(int16_t& keyCode) { Step(c.get<txtBlink>(), c.get<vsBlink>(), DecimalText, keyCode); }

// A box the user has left holds its number within range, in its bar's form:
// an emptied box its lower bound, the minute two digits.
void frmMain::txtPeriod_LostFocus() { Settle(c.get<txtPeriod>(), c.get<vsPeriod>(), DecimalText); }
void frmMain::txtHour_LostFocus() { Settle(c.get<txtHour>(), c.get<vsHour>(), DecimalText); }
void frmMain::txtMin_LostFocus() { Settle(c.get<txtMin>(), c.get<vsMin>(), TwoDigitText); }
void frmMain::txtBlink_LostFocus() { Settle(c.get<txtBlink>(), c.get<vsBlink>(), DecimalText); }

// Arming reads the boxes as the user would see them once left.
void frmMain::CorrectNumberBoxes() {
    txtPeriod_LostFocus();
    txtHour_LostFocus();
    txtMin_LostFocus();
    txtBlink_LostFocus();
    txtKb_LostFocus();
    txtQuiet_LostFocus();
    txtIdle_LostFocus();
}

void frmMain::opt_Click(int16_t index) {
    const bool clock = index == 1;
    c.get<txtHour>().SetEnabled(clock);
    c.get<vsHour>().SetEnabled(clock);
    c.get<txtMin>().SetEnabled(clock);
    c.get<vsMin>().SetEnabled(clock);
    c.get<cmbT>().SetEnabled(clock);
    c.get<txtPeriod>().SetEnabled(index == 0);
    c.get<vsPeriod>().SetEnabled(index == 0);
    c.get<cmbUnit>().SetEnabled(index == 0);
    c.get<cmbCondition>().SetEnabled(index == 2);
    ShowConditionRows();
}

// Below the list of conditions, only what the chosen one needs shows, and
// takes input in the 当 mode.
void frmMain::ShowConditionRows() {
    const int32_t chosen = c.get<cmbCondition>().ItemData();
    const bool when = c.get<opt2>().Value();
    for (const ConditionRows& rows : kConditionRows) {
        const bool shown = layout_lists::Data(rows.condition) == chosen;
        for (int id = rows.first; id <= rows.last; ++id) {
            c.all()[static_cast<size_t>(id)]->SetVisible(shown);
            c.all()[static_cast<size_t>(id)]->SetEnabled(shown && when);
        }
    }
}

void frmMain::cmbCondition_Change() { ShowConditionRows(); }

// The programs that show a window, read afresh each time the list opens;
// the one chosen stays chosen while it is there.
void frmMain::cmbProgram_DropDown() {
    struct Fill {
        ComboBox& list;
        std::u16string was;
        int index;
    } fill = {c.get<cmbProgram>(), c.get<cmbProgram>().Text(), 0};
    fill.list.Clear();
    byId_ = false;
    s.watch.EachShownProgram(
        [](void* context, uint32_t id, std::u16string_view title, std::u16string_view name) {
            auto& f = *static_cast<Fill*>(context);
            const std::u16string entry = Joined({title, texts::kOpenParen, name, texts::kCloseParen});
            f.list.AddItem(entry, static_cast<int32_t>(id));
            if (entry == f.was) f.list.SetListIndex(f.index);
            ++f.index;
        },
        &fill);
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
        if (schedule_) c.get<cmdTimer>().SetFocus();
        else c.get<cmbAction>().SetFocus();
        break;
    case TrayNotification::RightButtonUp:
        s.host.SetForeground();
        menuAsked_ = true;
        break;
    }
}

void frmMain::OpenPopupMenu() {
    switch (s.host.PopupMenu(schedule_ && !schedule_->Waiting())) {
    case PopupChoice::Exit: On({MainEvent::Kind::MenuExit}); break;
    case PopupChoice::About: mnuAbout_Click(); break;
    case PopupChoice::Postpone: On({MainEvent::Kind::Postpone}); break;
    case PopupChoice::None: break;
    }
}

// The About window, if showing, closes first: it is modal to this one.
void frmMain::ShowMainWindow() {
    if (s.host.AboutShowing()) s.host.UnloadAbout();
    ShowWindowAsItIs();
}

void frmMain::ShowWindowAsItIs() {
    s.host.Show();
    // The countdown shown at once, and ticking on while it shows.
    if (!schedule_) return;
    const int64_t now = s.clock.Now();
    ShowLeft(now);
    Plan(now);
}

// Asked for from outside (a second start, /show): the window shown, and in
// front what the user must answer first, About or a message, if one is open.
void frmMain::BringForward() {
    ShowWindowAsItIs();
    s.host.BringForward();
}

// Hidden only with the icon in the notification area, the way back to it:
// without one, Esc and the close box leave the window where it is.
void frmMain::HideMainWindow() {
    ShowTrayIcon();
    if (!iconInTray_) return;
    s.host.Hide();
    if (schedule_) Plan(s.clock.Now());
}

UnloadDecision frmMain::Form_Unload() {
    if (quitting_) {
        s.tray.NotifyIcon(kNimDelete, trayRecord_);
        return UnloadDecision::Close;
    }
    HideMainWindow();
    return UnloadDecision::StayHidden;
}

void frmMain::mnuAbout_Click() { s.host.ShowAboutModal(); }

void frmMain::mnuExit_Click() {
    EndWarning();
    Release();
    quitting_ = true;
    s.host.Unload();
}

void frmMain::Form_EndSession() { mnuExit_Click(); }

}  // namespace dusklet
