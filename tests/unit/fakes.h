// In-memory controls and recording stand-ins for the system, used to run the
// forms' handlers natively. Every observable call goes into one shared log so
// that tests can check order as well as effect.
#pragma once
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "app/frmMain_layout.h"
#include "base/number_text.h"
#include "base/program_folder.h"
#include "power/system_api.h"
#include "tests/utf8.h"
#include "tray/notify_icon.h"
#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/spin_range.h"

namespace dusklet::testing {

using Log = std::vector<std::string>;

template <class Base> struct Mem : Base {
    bool enabled = true, visible = true;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool e) override { enabled = e; }
    void SetVisible(bool v) override { visible = v; }
};

struct MemTextBox : Mem<TextBox> {
    std::u16string text;
    int writes = 0;  // texts the program put in the box
    bool focused = false;
    std::u16string Text() const override { return text; }
    bool Focused() const override { return focused; }
    void Focus() { focused = true; }
    void Leave() {
        focused = false;
        onLostFocus();
    }
    void Replace(std::u16string_view t) override {
        ++writes;
        text = std::u16string(t);  // (not from the view: GCC 12 warns wrongly on that inlined copy)
        onChange();                // inside the write, as an edit control's EN_CHANGE
    }
    // The user types one character into the box, which has the focus then:
    // the key filter first, then the edit.
    void Type(char16_t ch) {
        focused = true;
        int16_t code = static_cast<int16_t>(ch);
        onKeyPress(code);
        if (code == 0) return;
        text += static_cast<char16_t>(code);
        onChange();
    }
    // The user presses a key in the box: true when the handlers take it.
    bool Press(int16_t keyCode) {
        focused = true;
        onKeyDown(keyCode);
        return keyCode == 0;
    }
    // The user selects the whole text and types over it.
    void TypeOver(std::u16string_view keys) {
        Erase();
        for (char16_t ch : keys) Type(ch);
    }
    // The user empties the box (Delete over the selected text).
    void Erase() {
        focused = true;
        text.clear();
        onChange();
    }
    void Paste(std::u16string_view t) {
        text = std::u16string(t);  // (not from the view: GCC 12 warns wrongly on that inlined copy)
        onChange();
    }
};

// Holds a position as a scroll bar window does and maps it with the same
// range as the real one.
struct MemScrollBar : Mem<ScrollBar> {
    SpinRange range{0, 0};
    int position = 0;
    int changes = 0;
    int16_t Min() const override { return range.Min(); }
    int16_t Max() const override { return range.Max(); }
    int16_t Value() const override { return range.ValueAt(position); }
    void SetValue(int16_t v) override { MoveTo(range.PositionOf(v)); }
    void MoveTo(int p) {
        if (p == position) return;  // only real changes are reported
        position = p;
        ++changes;
        onChange();
    }
    int16_t Upper() const { return std::max(Min(), Max()); }
    int16_t Lower() const { return std::min(Min(), Max()); }
    void ArrowUp() { MoveTo(range.PositionAfter(SpinMove::LineUp, position, 0)); }
    void ArrowDown() { MoveTo(range.PositionAfter(SpinMove::LineDown, position, 0)); }
};

struct MemComboBox : Mem<ComboBox> {
    std::vector<std::u16string> items;
    std::vector<int32_t> data;  // each entry's item data
    int index = -1;
    std::u16string Text() const override { return index >= 0 ? items[static_cast<size_t>(index)] : u""; }
    int32_t ItemData() const override { return index >= 0 ? data[static_cast<size_t>(index)] : kNone; }
    bool focused = false;
    void SetFocus() override { focused = true; }
    void SetListIndex(int i) override { index = i; }
    bool ChooseData(int32_t d) override {
        for (size_t i = 0; i < data.size(); ++i)
            if (data[i] == d) return index = static_cast<int>(i), true;
        return false;
    }
    int ListIndex() const { return index; }
    int ListCount() const { return static_cast<int>(items.size()); }
    void AddItem(std::u16string_view item, int32_t d) override {
        items.emplace_back(item);
        data.push_back(d);
    }
    void Clear() override {
        items.clear();
        data.clear();
        index = -1;
    }
    // The user chooses the entry (as the list does, it says so).
    void Choose(std::u16string_view item) {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == item) index = static_cast<int>(i);
        onChange();
    }
    // The user opens the list.
    void Open() { onDropDown(); }
};

struct MemCheckBox : Mem<CheckBox> {
    int value = 0;
    int Value() const override { return value; }
    void SetValue(int v) override { value = v; }
    void Click() {
        value = value ? 0 : 1;
        onClick();
    }
};

struct MemOption : Mem<OptionButton> {
    bool value = false;
    std::vector<MemOption*> group;  // the other options of its container
    bool Value() const override { return value; }
    void SetValue(bool v) override { value = v; }
    void Click() {
        value = true;
        for (MemOption* other : group) other->value = false;
        onClick();
    }
};

struct MemLabel : Mem<Label> {
    std::u16string caption;
    int writes = 0;
    void SetCaption(std::u16string_view c) override {
        caption = c;
        ++writes;
    }
};

struct MemLink : Mem<LinkLabel> {
    std::u16string caption;
    bool underline = false;
    void SetCaption(std::u16string_view c) override { caption = c; }
    void SetUnderline(bool u) override { underline = u; }
};

struct MemButton : Mem<Button> {
    std::u16string caption;
    bool focused = false;
    void SetCaption(std::u16string_view c) override { caption = c; }
    void SetFocus() override { focused = true; }
};

struct MemContainer : Mem<Container> {};
struct MemImage : Mem<Image> {};

// The in-memory type of each kind of control.
// clang-format off
template <ControlKind K> struct MemFor;
template <> struct MemFor<ControlKind::Frame> { using type = MemContainer; };
template <> struct MemFor<ControlKind::Picture> { using type = MemContainer; };
template <> struct MemFor<ControlKind::Label> { using type = MemLabel; };
template <> struct MemFor<ControlKind::TextLabel> { using type = MemLabel; };
template <> struct MemFor<ControlKind::StatusStrip> { using type = MemLabel; };
template <> struct MemFor<ControlKind::Name> { using type = MemLabel; };
template <> struct MemFor<ControlKind::Link> { using type = MemLink; };
template <> struct MemFor<ControlKind::Image> { using type = MemImage; };
template <> struct MemFor<ControlKind::DropDownList> { using type = MemComboBox; };
template <> struct MemFor<ControlKind::TextBox> { using type = MemTextBox; };
template <> struct MemFor<ControlKind::SpinBar> { using type = MemScrollBar; };
template <> struct MemFor<ControlKind::Option> { using type = MemOption; };
template <> struct MemFor<ControlKind::Check> { using type = MemCheckBox; };
template <> struct MemFor<ControlKind::Command> { using type = MemButton; };
template <> struct MemFor<ControlKind::Touch> { using type = MemButton; };
// clang-format on

// A control as its row lays it out, before any code runs.
std::unique_ptr<Control> MakeMemControl(const ControlLayout& row);
// Links the option buttons of each container into one group.
void GroupOptions(std::span<const ControlLayout> rows, std::span<Control* const> controls);

// The controls of one window, made from its table.
template <const auto& Rows> struct MemControls {
    static constexpr size_t kCount = std::size(Rows);
    std::array<std::unique_ptr<Control>, kCount> owned;
    std::array<Control*, kCount> all{};

    MemControls() {
        for (const ControlLayout& row : Rows) {
            owned[static_cast<size_t>(row.id)] = MakeMemControl(row);
            all[static_cast<size_t>(row.id)] = owned[static_cast<size_t>(row.id)].get();
        }
        GroupOptions(Rows, all);
    }
    template <int id> typename MemFor<Rows[id].kind>::type& get() const {
        return static_cast<typename MemFor<Rows[id].kind>::type&>(*all[id]);
    }
    ControlSet<Rows> Models() const { return ControlSet<Rows>(all); }
};

struct MemTimer : Timer {
    Log& log;
    bool enabled = false;
    explicit MemTimer(Log& l) : log(l) {}
    void SetEnabled(bool e) override {  // as a window timer: only a change starts or stops it
        if (e == enabled) return;
        enabled = e;
        log.push_back(e ? "timer on" : "timer off");
    }
};

// Seconds since 1970 UTC; it starts at 10:15:42 on 7 December 2026 in China.
struct FakeClock : Clock {
    int64_t now = SecondsFromCivil({2026, 12, 7, 2, 15, 42});
    int64_t Now() override { return now; }
};

// A UTC moment, in seconds since 1970.
inline int64_t Utc(int y, int mo, int d, int h, int mi, int s = 0) { return SecondsFromCivil({y, mo, d, h, mi, s}); }

// Zones by the rules Windows gives for them.
namespace zones {
inline constexpr ZoneRules kChina = {-480, 0, 0, {}, {}};
inline constexpr ZoneRules kNewYork = {300, 0, -60, {0, 11, 0, 1, 2, 0, 0}, {0, 3, 0, 2, 2, 0, 0}};
inline constexpr ZoneRules kBerlin = {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0}, {0, 3, 0, 5, 2, 0, 0}};
inline constexpr ZoneRules kSydney = {-600, 0, -60, {0, 4, 0, 1, 3, 0, 0}, {0, 10, 0, 1, 2, 0, 0}};
}  // namespace zones

// The system's time zone, whose rules a test may change (as the user would
// in the control panel).
struct FakeZone : TimeZone {
    ZoneRules rules = zones::kChina;
    CivilDateTime ToLocal(int64_t utc) override { return RulesZone(rules).ToLocal(utc); }
};

// Short date "2026/12/7", long time "10:16:42".
struct FakeFormat : DateTimeFormat {
    std::u16string ShortDate(const CivilDateTime& c) override {
        return dusklet::DecimalText(c.year) + u"/" + dusklet::DecimalText(c.month) + u"/" + dusklet::DecimalText(c.day);
    }
    std::u16string LongTime(const CivilDateTime& c) override {
        return dusklet::DecimalText(c.hour) + u":" + TwoDigitText(c.minute) + u":" + TwoDigitText(c.second);
    }
};

// Converts bytes between two encodings with iconv.
std::string Iconv(const char* to, const char* from, std::string in);

// Code page 936, as a Chinese Windows converts.
struct Gbk : AnsiCodec {
    std::string ToAnsi(std::u16string_view text) override {
        std::string in;
        for (char16_t c : text) {
            in += static_cast<char>(c & 0xFF);
            in += static_cast<char>(c >> 8);
        }
        return Iconv("GBK", "UTF-16LE", std::move(in));
    }
};

// The shell: keeps each record it is handed, and its ANSI form as Windows 95,
// 98 and ME (in code page 936) would take it.
struct RecordingTray : TrayShell {
    Log& log;
    Gbk gbk;
    std::vector<std::pair<uint32_t, NotifyIconBytes>> calls;  // the ANSI forms
    explicit RecordingTray(Log& l) : log(l) {}
    // What arrives during the next call, as a message that the system sends
    // the window while the shell works (run once).
    std::function<void()> duringNextCall;
    bool accepts = true;  // false: the shell refuses every call (not started yet, say)
    bool holds = false;   // the shell shows the icon
    bool NotifyIcon(uint32_t message, const NOTIFYICONDATA& nid) override {
        calls.emplace_back(message, AnsiForm(nid, gbk));
        log.push_back("tray " + std::to_string(message));
        if (auto during = std::exchange(duringNextCall, nullptr)) during();
        if (!accepts) return false;
        // An icon is added once, modified while there, and deleted.
        const bool held = std::exchange(holds, message != kNimDelete && (message == kNimAdd || holds));
        return message == kNimAdd ? !held : held;
    }
    uint32_t LastIcon() const { return static_cast<uint32_t>(calls.back().second[20] | calls.back().second[21] << 8); }
    // The last tip as the ANSI form carries it, in code page 936.
    std::string LastTip() const {
        const auto& r = calls.back().second;
        return std::string(reinterpret_cast<const char*>(r.data() + 24));
    }
    uint32_t shellVersion = 6;  // XP's shell
    struct Balloon {
        NOTIFYICONDATA nid;
        std::u16string title, text;
    };
    std::vector<Balloon> balloons;
    int withdrawals = 0;  // records with an empty text, which take the balloon away
    bool ShowBalloon(const NOTIFYICONDATA& nid, std::u16string_view title, std::u16string_view text) override {
        if (text.empty()) {
            ++withdrawals;
            log.push_back("withdraw balloon");
            return true;
        }
        balloons.push_back({nid, std::u16string(title), std::u16string(text)});
        log.push_back("balloon " + BalloonText(balloons.size() - 1));
        return true;
    }
    uint32_t ShellVersion() override { return shellVersion; }
    // A balloon's text, in UTF-8.
    std::string BalloonText(size_t i) const { return Narrow(balloons[i].text); }
};

// The system as seen by version detection and the power actions.
struct RecordingSystem : SystemApi {
    Log& log;
    OsVersion version{2, 5, 1};
    bool exitResult = true, suspendResult = true, lockResult = true;
    uint32_t lastError = 0;  // what a failed call leaves
    CallResult privilege;    // what enabling the shutdown privilege gives
    // A desktop that sleeps to S3 and hibernates, as powrprof describes it.
    std::optional<PowerCapabilities> capabilities = PowerCapabilities{true, false, true, false};
    std::optional<bool> suspendAllowed = true, hibernateAllowed = true;
    explicit RecordingSystem(Log& l) : log(l) {}
    void Set(uint32_t platform, uint32_t major, uint32_t minor) { version = {platform, major, minor}; }
    OsVersion Version() override {
        log.push_back("GetVersionExA");
        return version;
    }
    CallResult SetShutdownPrivilege(bool enable) override {
        log.push_back(enable ? "privilege on" : "privilege off");
        return enable ? privilege : CallResult{};
    }
    CallResult Result(bool ok) const { return ok ? CallResult{} : CallResult{false, lastError}; }
    // The reason is logged in hexadecimal, the way its flags are defined.
    CallResult ExitWindowsWith(uint32_t flags, uint32_t reason) override {
        char hex[11];
        std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(reason));
        log.push_back("ExitWindowsEx " + std::to_string(flags) + " " + hex);
        return Result(exitResult);
    }
    CallResult Suspend(bool h, bool f, bool d) override {
        log.push_back("SetSuspendState " + std::to_string(h) + " " + std::to_string(f) + " " + std::to_string(d));
        return Result(suspendResult);
    }
    CallResult Lock() override {
        log.push_back("LockWorkStation");
        return Result(lockResult);
    }
    std::u16string ErrorText(uint32_t error) override {
        return error == 5 ? u"拒绝访问。" : error == 0 ? u"操作成功完成。" : u"";
    }
    std::optional<PowerCapabilities> Capabilities() override { return capabilities; }
    std::optional<bool> SuspendAllowed() override { return suspendAllowed; }
    std::optional<bool> HibernateAllowed() override { return hibernateAllowed; }
    void TurnOffDisplay() override { log.push_back("TurnOffDisplay"); }
};

struct FakeHost : MainHost {
    Log& log;
    bool anotherInstance = false;
    bool shown = true;
    bool aboutOpen = false;
    PopupChoice choice = PopupChoice::None;
    std::u16string folder = u"C:\\Program Files\\Dusklet";
    frmMain* form = nullptr;
    bool unloaded = false;
    explicit FakeHost(Log& l) : log(l) {}
    uint32_t WindowHandle() override { return 0x1234; }
    uint32_t icon = 0x777;  // the icon at the system's small size, as loaded now
    uint32_t IconHandle() override { return icon; }
    std::u16string ProgramFolder() override { return folder; }
    void AttachSkin(std::u16string_view path, std::u16string_view second) override {
        log.push_back("skin " + Narrow(path) + "|" + Narrow(second));
    }
    void InitCommonControls() override { log.push_back("InitCommonControls"); }
    bool AnotherInstanceRunning() override {
        log.push_back("instance?");
        return anotherInstance;
    }
    void ShowRunningCopy() override { log.push_back("show running copy"); }
    int retries = 0;  // times the shell is to be asked again for the icon
    void RetryTrayIcon() override { ++retries; }
    void MsgBox(std::u16string_view text, std::u16string_view title, uint32_t style) override {
        log.push_back("msgbox " + Narrow(text) + "|" + Narrow(title) + "|" + std::to_string(style));
    }
    void Warn(std::u16string_view text) override { log.push_back("warn " + Narrow(text)); }
    std::vector<MainEvent> heldBack;  // handed back, in order
    void Later(MainEvent event) override {
        heldBack.push_back(event);
        log.push_back(event.kind == MainEvent::Kind::Tray           ? "later tray " + std::to_string(event.detail)
                      : event.kind == MainEvent::Kind::Click        ? "later click"
                      : event.kind == MainEvent::Kind::Tick         ? "later tick"
                      : event.kind == MainEvent::Kind::TrayIconLost ? "later icon"
                                                                    : "later other");
    }
    bool Visible() override { return shown; }
    void Show() override {
        shown = true;
        log.push_back("show");
    }
    void Hide() override {
        shown = false;
        log.push_back("hide");
    }
    void Unload() override {
        log.push_back("unload");
        if (form->Form_Unload() == UnloadDecision::Close) unloaded = true;
    }
    void SetForeground() override { log.push_back("foreground"); }
    void BringForward() override { log.push_back(aboutOpen ? "about to the front" : "window to the front"); }
    std::function<void()> duringPopup, duringAbout;  // what the menu's or About's loop lets through
    std::optional<bool> postponeOffered;             // whether the last menu let the user postpone
    PopupChoice PopupMenu(bool armed) override {
        log.push_back("popup");
        postponeOffered = armed;
        if (duringPopup) duringPopup();
        return choice;
    }
    // The warning panel: its text while it shows.
    std::optional<std::u16string> panel;
    std::u16string panelTitle;
    int panelsShown = 0, panelsClosed = 0;
    void ShowPanel(std::u16string_view text, std::u16string_view title) override {
        if (!panel) ++panelsShown;
        panel = std::u16string(text);
        panelTitle = title;
    }
    void PlacePanel() override { log.push_back("place panel"); }
    void SetPanelText(std::u16string_view text) override { panel = std::u16string(text); }
    void ClosePanel() override {
        ++panelsClosed;
        panel.reset();
    }
    int alerts = 0;  // raised for screen readers while the panel shows
    void AlertPanel() override {
        if (panel) ++alerts;
    }
    int beeps = 0;
    bool notificationsHeldBack = false;  // by a full-screen program, say
    void Beep() override {
        ++beeps;
        log.push_back("beep");
    }
    bool NotificationsHeldBack() override { return notificationsHeldBack; }
    void ShowAboutModal() override {
        log.push_back("about");
        if (duringAbout) duringAbout();
    }
    bool AboutShowing() override { return aboutOpen; }
    void UnloadAbout() override {
        aboutOpen = false;
        log.push_back("unload about");
    }
};

// The stay-awake request and the wake-up, recorded in a log of their own.
struct RecordingDeadline : Deadline {
    Log log;
    Log* shared = nullptr;  // where the calls also go, to be seen among the others
    bool canWake = true, wakes = true;
    bool CanWake() override { return canWake; }
    void KeepAwake(bool keep) override { Record(keep ? "keep awake" : "may sleep"); }
    std::optional<int64_t> aimed;  // the wake-up that stands
    bool WakeAt(int64_t moment) override {
        aimed = moment;
        Record("wake at " + std::to_string(moment));
        return wakes;
    }
    void CancelWake() override {
        aimed.reset();
        Record("cancel wake");
    }
    void Record(const std::string& line) {
        log.push_back(line);
        if (shared) shared->push_back(line);
    }
};

// What the 当 mode watches: the processes and the windows that show, the
// network's counters and the last input, as a test sets them; the waits and
// wake-ups asked for, as the program asked for them.
struct FakeWatch : Watch {
    std::vector<Condition> installed = {Condition::ProgramExit, Condition::DownloadDone};  // on NT 4
    uint32_t tick = 0xFFFF0000u;  // a tick count that wraps within a day
    struct Process {
        uint32_t id;
        std::u16string name;
    };
    std::vector<Process> processes;
    struct Shown {
        uint32_t id;
        std::u16string title, name;
    };
    std::vector<Shown> windows;
    std::vector<uint32_t> waited;  // the processes waited for
    std::optional<std::vector<InterfaceBytes>> received = std::vector<InterfaceBytes>{{1, 0}};
    bool sampling = false;
    uint32_t lastInput = 0xFFFF0000u;
    bool fullScreen = false;
    std::optional<uint32_t> lookIn;  // the one wake-up asked for, in ms
    bool Installed(Condition c) override { return std::find(installed.begin(), installed.end(), c) != installed.end(); }
    uint32_t Tick() override { return tick; }
    std::vector<uint32_t> Running(std::u16string_view name) override {
        std::vector<uint32_t> ids;
        for (const Process& p : processes)
            if (SameFileName(p.name, name)) ids.push_back(p.id);
        return ids;
    }
    std::u16string NameOf(uint32_t id) override {
        for (const Process& p : processes)
            if (p.id == id) return p.name;
        return {};
    }
    void EachShownProgram(ShownVisitor each, void* context) override {
        for (const Shown& w : windows) each(context, w.id, w.title, w.name);
    }
    std::vector<uint32_t> unseen;  // running, but not to be waited for (another user's)
    Wait WaitForEnd(uint32_t id) override {
        if (std::none_of(processes.begin(), processes.end(), [&](auto& p) { return p.id == id; })) return Wait::Ended;
        if (std::find(unseen.begin(), unseen.end(), id) != unseen.end()) return Wait::Unseen;
        waited.push_back(id);
        return Wait::Waiting;
    }
    void StopWaiting() override { waited.clear(); }
    std::optional<std::vector<InterfaceBytes>> Received() override { return received; }
    void Sample(bool on) override { sampling = on; }
    uint32_t LastInput() override { return lastInput; }
    bool FullScreen() override { return fullScreen; }
    void LookIn(std::optional<uint32_t> ms) override { lookIn = ms; }
    // A process starts, or ends (it is waited for no more).
    void Start(uint32_t id, const char16_t* name) { processes.push_back({id, name}); }
    void End(uint32_t id) {
        std::erase_if(processes, [&](auto& p) { return p.id == id; });
        std::erase(waited, id);
    }
};

// How a test arms the schedule, as a user would set the window: a countdown
// of `amount` `unit`, or with `hour` a clock time; blinking from `lead`
// seconds before, or none without.
struct Settings {
    const char16_t* action = u"关机";
    const char16_t* amount = u"1";
    const char16_t* unit = u"秒";
    const char16_t* hour = nullptr;
    const char16_t* minute = u"00";
    const char16_t* half = u"AM";
    const char16_t* lead = u"30";
    bool force = true;
};

// The main window's controls as laid out, with its services, ready to run.
struct MainFixture {
    Log log;
    MemControls<kMainLayout> controls;
    MemTimer timer{log};
    FakeHost host{log};
    FakeClock clock;
    FakeZone zone;
    FakeFormat format;
    RecordingSystem system{log};
    RecordingTray tray{log};
    RecordingDeadline deadline;
    FakeWatch watch;
    frmMain form;

    MainFixture();
    template <int id> auto& get() { return controls.get<id>(); }
    // Runs start-up and forgets what it logged.
    MainFixture& Started();
    // Sets the window as `settings` say and clicks the button.
    void Arm(const Settings& settings);
    // The clock moves, with no tick or wake-up on the way (the machine
    // asleep, the clock set, a program held up).
    void Advance(int64_t seconds) { clock.now += seconds; }
    // The time passes second by second as the program lives it: the wake-up
    // aimed comes at its moment (it is spent then), and the tick, where it
    // runs, each second between.
    void Pass(int64_t seconds);
    // The clock is set to when the local wall clock reads `local`.
    void SetLocal(const CivilDateTime& local) { clock.now = MomentOfWallTime(zone, local, 0); }
    // The schedule's events, as the window hands them in.
    void Click() { form.On({MainEvent::Kind::Click}); }
    void TimerTick() { form.On({MainEvent::Kind::Tick}); }
    void Wake() { form.On({MainEvent::Kind::Wake}); }
    void Tray(uint32_t notification) { form.On({MainEvent::Kind::Tray, notification}); }
    void MenuExit() { form.On({MainEvent::Kind::MenuExit}); }
    void Suspend() { form.On({MainEvent::Kind::PowerSuspend}); }
    void Resume() { form.On({MainEvent::Kind::PowerResume}); }
    void TimeChange() { form.On({MainEvent::Kind::TimeChange}); }
    // The shell restarted, without the icon.
    void IconLost() {
        tray.holds = false;
        form.On({MainEvent::Kind::TrayIconLost});
    }
    // The host has loaded the icon at another size, which IconHandle now gives.
    void IconChanged(uint32_t icon) {
        host.icon = icon;
        form.On({MainEvent::Kind::IconChanged});
    }
    void Escape() {
        int16_t escape = 27;
        form.Form_KeyPress(escape);
    }
    frmMainServices Services(DateTimeFormat& dateFormat) {
        return frmMainServices{host, clock, zone, dateFormat, system, tray, deadline, watch};
    }

    // What happened, as the user sees it.
    bool Ended() const { return host.unloaded; }
    std::u16string Tip() const { return TipText(form.TrayRecord()); }
    std::u16string Strip() { return get<ctl::lblStatus>().caption; }
    // The power calls made, in order ("ExitWindowsEx 12 0", "LockWorkStation", ...).
    Log PowerCalls() const;
    // The messages shown, in order.
    Log Warnings() const;
    // Seconds from now to the due moment.
    int64_t SecondsToDue() const { return *form.Due() - clock.now; }
    // The due moment on the local wall clock.
    CivilDateTime DueLocal() { return zone.ToLocal(*form.Due()); }
};

// Every way an armed schedule can end: on Windows 10, 锁定计算机 armed for 60 s
// at 10:15:42, then disarmed, left by Exit or by the session's end, failed at
// the due moment, or carried out.
struct ScheduleEnd {
    const char* name;
    bool withTheAction;
    void (*end)(MainFixture&);
};
extern const ScheduleEnd kScheduleEnds[5];
// A fixture started on Windows 10 with that schedule armed, blinking from
// `lead` seconds before the due moment (none: blinking off).
void ArmOneMinuteLock(MainFixture& f, const char16_t* lead);

}  // namespace dusklet::testing
