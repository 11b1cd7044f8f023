// The main window as it exists before any code runs: every control with its
// kind, container, text, initial state and geometry in twips, in the window's
// reading order (top to bottom, left to right; the option group where its
// first option sits), which Tab follows. Every number box, list and spin bar
// that has no label of its own comes right after a name for screen readers,
// of no width, just left of it. Everything that creates or looks for these controls reads
// this table.
#pragma once
#include "app/conditions.h"
#include "app/texts.h"
#include "ui/layout.h"

namespace dusklet {

namespace ctl {
// The main window's controls, in the order of the table below (the order of
// creation and of Tab).
enum ControlId : int {
    frame,
    lbl0,
    cmbAction,
    pic,
    opt0,
    opt1,
    opt2,
    lblPeriod,
    txtPeriod,
    lblPeriodSpin,
    vsPeriod,
    lblUnit,
    cmbUnit,
    lblHour,
    txtHour,
    lblHourSpin,
    vsHour,
    lblMin,
    txtMin,
    lblMinSpin,
    vsMin,
    lblT,
    cmbT,
    lblCondition,
    cmbCondition,
    lblProgram,
    cmbProgram,
    lblKb,
    txtKb,
    lblKbUnit,
    lblQuiet,
    txtQuiet,
    lblQuietSpin,
    vsQuiet,
    lblQuietUnit,
    lblIdle,
    txtIdle,
    lblIdleSpin,
    vsIdle,
    lblIdleUnit,
    chkForce,
    chkBlink,
    lblBlink,
    txtBlink,
    lblBlinkSpin,
    vsBlink,
    lbl1,
    cmdTimer,
    lblStatus,
    kControlCount
};
}  // namespace ctl

// What the entries of the lists mean. The handlers read these, never the
// texts, so the program works whatever the texts read back as.
enum class PowerAction : int32_t { PowerOff, Restart, LogOff, Suspend, Hibernate, Lock };
enum class TimeUnit : int32_t { Hours = 3600, Minutes = 60, Seconds = 1 };  // the seconds in one
enum class HalfDay : int32_t { AM = 0, PM = 12 };                           // hours added to the 12-hour clock's hour

namespace layout_lists {
constexpr int32_t Data(PowerAction a) { return static_cast<int32_t>(a); }
constexpr int32_t Data(TimeUnit u) { return static_cast<int32_t>(u); }
constexpr int32_t Data(HalfDay h) { return static_cast<int32_t>(h); }
inline constexpr ListItem kActions[] = {{texts::kPowerOff, Data(PowerAction::PowerOff)},
                                        {texts::kRestart, Data(PowerAction::Restart)},
                                        {texts::kLogOff, Data(PowerAction::LogOff)},
                                        {texts::kSuspend, Data(PowerAction::Suspend)},
                                        {texts::kHibernate, Data(PowerAction::Hibernate)}};
// Appended at start-up where the system can lock.
inline constexpr ListItem kLock = {texts::kLockLabel, Data(PowerAction::Lock)};
inline constexpr ListItem kUnits[] = {{texts::kHours, Data(TimeUnit::Hours)},
                                      {texts::kMinutes, Data(TimeUnit::Minutes)},
                                      {texts::kSecondsUnit, Data(TimeUnit::Seconds)}};
inline constexpr ListItem kHalfDay[] = {{texts::kAM, Data(HalfDay::AM)}, {texts::kPM, Data(HalfDay::PM)}};
constexpr int32_t Data(Condition c) { return static_cast<int32_t>(c); }
// Added at start-up, each where the system can watch it.
inline constexpr ListItem kConditions[] = {{texts::kProgramExit, Data(Condition::ProgramExit)},
                                           {texts::kDownloadDone, Data(Condition::DownloadDone)},
                                           {texts::kNobodyThere, Data(Condition::NobodyThere)}};
// The actions' and the conditions' entries stand in the order of what they mean.
constexpr bool InOrder(std::span<const ListItem> items) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].data != static_cast<int32_t>(i)) return false;
    return true;
}
static_assert(InOrder(kActions) && InOrder(kConditions) && kLock.data == std::size(kActions));
// What the list calls an action.
constexpr const char16_t* LabelOf(PowerAction a) {
    return a == PowerAction::Lock ? kLock.text : kActions[static_cast<size_t>(a)].text;
}
}  // namespace layout_lists

inline constexpr WindowLayout kMainWindow = {texts::kMainCaption, 3780, 5295};
inline constexpr unsigned kTimerId = 1;
inline constexpr unsigned kTimerIntervalMs = 500;

// clang-format off
inline constexpr ControlLayout kMainLayout[] = {
//   id                  kind                       parent      name             text                    items                   rect (left, top, width, height) enabled checked maxLen min  max value
    {ctl::frame,          ControlKind::Frame,         kOnWindow,   "frame",          u" 设置",                  {},                      {180, 180, 3435, 4275},  true,   false,  0,  0,    0,  0},
    {ctl::lbl0,           ControlKind::Label,         ctl::frame,  "lbl(0)",         u"动作",                   {},                      {180, 480, 360, 180},    true,   false,  0,  0,    0,  0},
    {ctl::cmbAction,      ControlKind::DropDownList,  ctl::frame,  "cmbAction",      u"",                     layout_lists::kActions,  {900, 420, 2295, 315},   true,   false,  0,  0,    0,  0},
    {ctl::pic,            ControlKind::Picture,       ctl::frame,  "pic",            u"",                     {},                      {150, 930, 3075, 1785},  true,   false,  0,  0,    0,  0},
    {ctl::opt0,           ControlKind::Option,        ctl::pic,    "opt(0)",         u"之内",                   {},                      {30, 60, 675, 195},      true,   true,   0,  0,    0,  0},
    {ctl::opt1,           ControlKind::Option,        ctl::pic,    "opt(1)",         u"于",                    {},                      {30, 540, 675, 195},     true,   false,  0,  0,    0,  0},
    {ctl::opt2,           ControlKind::Option,        ctl::pic,    "opt(2)",         u"当",                    {},                      {30, 1020, 675, 195},    true,   false,  0,  0,    0,  0},
    {ctl::lblPeriod,      ControlKind::Name,          ctl::pic,    "lblPeriod",      texts::kNamePeriod,      {},                      {735, 0, 0, 315},        true,   false,  0,  0,    0,  0},
    {ctl::txtPeriod,      ControlKind::TextBox,       ctl::pic,    "txtPeriod",      u"1",                    {},                      {750, 0, 495, 315},      true,   false,  3,  0,    0,  0},
    {ctl::lblPeriodSpin,  ControlKind::Name,          ctl::pic,    "lblPeriodSpin",  texts::kNamePeriodSpin,  {},                      {1215, 0, 0, 315},       true,   false,  0,  0,    0,  0},
    {ctl::vsPeriod,       ControlKind::SpinBar,       ctl::pic,    "vsPeriod",       u"",                     {},                      {1230, 0, 165, 315},     true,   false,  0,  999,  1,  1},
    {ctl::lblUnit,        ControlKind::Name,          ctl::pic,    "lblUnit",        texts::kNameUnit,        {},                      {1515, 0, 0, 315},       true,   false,  0,  0,    0,  0},
    {ctl::cmbUnit,        ControlKind::DropDownList,  ctl::pic,    "cmbUnit",        u"",                     layout_lists::kUnits,    {1530, 0, 1515, 315},    true,   false,  0,  0,    0,  0},
    {ctl::lblHour,        ControlKind::Name,          ctl::pic,    "lblHour",        texts::kNameHour,        {},                      {735, 480, 0, 315},      true,   false,  0,  0,    0,  0},
    {ctl::txtHour,        ControlKind::TextBox,       ctl::pic,    "txtHour",        u"1",                    {},                      {750, 480, 495, 315},    false,  false,  2,  0,    0,  0},
    {ctl::lblHourSpin,    ControlKind::Name,          ctl::pic,    "lblHourSpin",    texts::kNameHourSpin,    {},                      {1215, 480, 0, 315},     true,   false,  0,  0,    0,  0},
    {ctl::vsHour,         ControlKind::SpinBar,       ctl::pic,    "vsHour",         u"",                     {},                      {1230, 480, 165, 315},   false,  false,  0,  12,   1,  1},
    {ctl::lblMin,         ControlKind::Name,          ctl::pic,    "lblMin",         texts::kNameMinute,      {},                      {1515, 480, 0, 315},     true,   false,  0,  0,    0,  0},
    {ctl::txtMin,         ControlKind::TextBox,       ctl::pic,    "txtMin",         u"00",                   {},                      {1530, 480, 495, 315},   false,  false,  2,  0,    0,  0},
    {ctl::lblMinSpin,     ControlKind::Name,          ctl::pic,    "lblMinSpin",     texts::kNameMinuteSpin,  {},                      {1995, 480, 0, 315},     true,   false,  0,  0,    0,  0},
    {ctl::vsMin,          ControlKind::SpinBar,       ctl::pic,    "vsMin",          u"",                     {},                      {2010, 480, 165, 315},   false,  false,  0,  59,   0,  0},
    {ctl::lblT,           ControlKind::Name,          ctl::pic,    "lblT",           texts::kNameHalfDay,     {},                      {2295, 480, 0, 315},     true,   false,  0,  0,    0,  0},
    {ctl::cmbT,           ControlKind::DropDownList,  ctl::pic,    "cmbT",           u"",                     layout_lists::kHalfDay,  {2310, 480, 735, 315},   false,  false,  0,  0,    0,  0},
    {ctl::lblCondition,   ControlKind::Name,          ctl::pic,    "lblCondition",   texts::kNameCondition,   {},                      {735, 960, 0, 315},      true,   false,  0,  0,    0,  0},
    {ctl::cmbCondition,   ControlKind::DropDownList,  ctl::pic,    "cmbCondition",   u"",                     {},                      {750, 960, 2295, 315},   false,  false,  0,  0,    0,  0},
    {ctl::lblProgram,     ControlKind::Name,          ctl::pic,    "lblProgram",     texts::kNameProgram,     {},                      {15, 1440, 0, 315},      false,   false,  0,  0,    0,  0},
    {ctl::cmbProgram,     ControlKind::DropDownList,  ctl::pic,    "cmbProgram",     u"",                     {},                      {30, 1440, 3015, 315},   false,  false,  0,  0,    0,  0},
    {ctl::lblKb,          ControlKind::Name,          ctl::pic,    "lblKb",          texts::kNameKb,          {},                      {15, 1440, 0, 315},      false,   false,  0,  0,    0,  0},
    {ctl::txtKb,          ControlKind::TextBox,       ctl::pic,    "txtKb",          u"50",                   {},                      {30, 1440, 570, 315},    false,  false,  5,  0,    0,  0},
    {ctl::lblKbUnit,      ControlKind::Label,         ctl::pic,    "lblKbUnit",      texts::kKbUnit,          {},                      {660, 1500, 900, 180},   false,   false,  0,  0,    0,  0},
    {ctl::lblQuiet,       ControlKind::Name,          ctl::pic,    "lblQuiet",       texts::kNameQuiet,       {},                      {1635, 1440, 0, 315},    false,   false,  0,  0,    0,  0},
    {ctl::txtQuiet,       ControlKind::TextBox,       ctl::pic,    "txtQuiet",       u"5",                    {},                      {1650, 1440, 495, 315},  false,  false,  3,  0,    0,  0},
    {ctl::lblQuietSpin,   ControlKind::Name,          ctl::pic,    "lblQuietSpin",   texts::kNameQuietSpin,   {},                      {2115, 1440, 0, 315},    false,   false,  0,  0,    0,  0},
    {ctl::vsQuiet,        ControlKind::SpinBar,       ctl::pic,    "vsQuiet",        u"",                     {},                      {2130, 1440, 165, 315},  false,  false,  0,  999,  1,  5},
    {ctl::lblQuietUnit,   ControlKind::Label,         ctl::pic,    "lblQuietUnit",   texts::kMinutesUnit,     {},                      {2400, 1500, 360, 180},  false,   false,  0,  0,    0,  0},
    {ctl::lblIdle,        ControlKind::Name,          ctl::pic,    "lblIdle",        texts::kNameIdle,        {},                      {15, 1440, 0, 315},      false,   false,  0,  0,    0,  0},
    {ctl::txtIdle,        ControlKind::TextBox,       ctl::pic,    "txtIdle",        u"30",                   {},                      {30, 1440, 495, 315},    false,  false,  3,  0,    0,  0},
    {ctl::lblIdleSpin,    ControlKind::Name,          ctl::pic,    "lblIdleSpin",    texts::kNameIdleSpin,    {},                      {495, 1440, 0, 315},     false,   false,  0,  0,    0,  0},
    {ctl::vsIdle,         ControlKind::SpinBar,       ctl::pic,    "vsIdle",         u"",                     {},                      {510, 1440, 165, 315},   false,  false,  0,  999,  1,  30},
    {ctl::lblIdleUnit,    ControlKind::Label,         ctl::pic,    "lblIdleUnit",    texts::kIdleUnit,        {},                      {780, 1500, 1080, 180},  false,   false,  0,  0,    0,  0},
    {ctl::chkForce,       ControlKind::Check,         ctl::frame,  "chkForce",       u"强制终止进程",               {},                      {210, 2880, 3075, 255},  true,   true,   0,  0,    0,  0},
    {ctl::chkBlink,       ControlKind::Check,         ctl::frame,  "chkBlink",       u"图标闪动之前执行",             {},                      {210, 3300, 2475, 255},  true,   true,   0,  0,    0,  0},
    {ctl::lblBlink,       ControlKind::Name,          ctl::frame,  "lblBlink",       texts::kNameLead,        {},                      {885, 3720, 0, 315},     true,   false,  0,  0,    0,  0},
    {ctl::txtBlink,       ControlKind::TextBox,       ctl::frame,  "txtBlink",       u"30",                   {},                      {900, 3720, 495, 315},   true,   false,  3,  0,    0,  0},
    {ctl::lblBlinkSpin,   ControlKind::Name,          ctl::frame,  "lblBlinkSpin",   texts::kNameLeadSpin,    {},                      {1365, 3720, 0, 315},    true,   false,  0,  0,    0,  0},
    {ctl::vsBlink,        ControlKind::SpinBar,       ctl::frame,  "vsBlink",        u"",                     {},                      {1380, 3720, 165, 315},  true,   false,  0,  999,  1,  30},
    {ctl::lbl1,           ControlKind::Label,         ctl::frame,  "lbl(1)",         u"秒",                    {},                      {1680, 3780, 180, 180},  true,   false,  0,  0,    0,  0},
    {ctl::cmdTimer,       ControlKind::Command,       kOnWindow,   "cmdTimer",       texts::kStartButton,     {},                      {180, 4620, 3435, 315},  true,   false,  0,  0,    0,  0},
    {ctl::lblStatus,      ControlKind::StatusStrip,   kOnWindow,   "lblStatus",      texts::kStartStatus,     {},                      {0, 5100, 3795, 195},    true,   false,  0,  0,    0,  0},
};
// clang-format on
static_assert(RowsInOrder(kMainLayout, ctl::kControlCount),
              "one row per control id, in id order, what a container holds right after it");

using MainControls = ControlSet<kMainLayout>;

// What each condition of the 当 mode needs, below its list: rows in one place,
// of which only the chosen condition's show.
struct ConditionRows {
    Condition condition;
    int first, last;  // ids
};
inline constexpr ConditionRows kConditionRows[] = {{Condition::ProgramExit, ctl::lblProgram, ctl::cmbProgram},
                                                   {Condition::DownloadDone, ctl::lblKb, ctl::lblQuietUnit},
                                                   {Condition::NobodyThere, ctl::lblIdle, ctl::lblIdleUnit}};

// The tray icon's popup menu, top to bottom; a null caption is a separator.
enum class PopupChoice { None, Exit, About, Postpone };
struct MenuItem {
    PopupChoice choice;
    const char16_t* caption;
};
inline constexpr MenuItem kPopupMenu[] = {{PopupChoice::Exit, texts::kExitItem},
                                          {PopupChoice::None, nullptr},
                                          {PopupChoice::Postpone, texts::kPostponeItem},
                                          {PopupChoice::About, texts::kAboutItem}};

}  // namespace dusklet
