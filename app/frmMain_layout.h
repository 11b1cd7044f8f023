// The main window as it exists before any code runs: every control with its
// kind, container, text, initial state and geometry in twips, in the window's
// reading order (top to bottom, left to right; the option group where its
// first option sits), which Tab follows. Every number box, list and spin bar
// that has no label of its own comes right after a name for screen readers,
// of no width, just left of it. Everything that creates or looks for these controls reads
// this table.
#pragma once
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
}  // namespace layout_lists

inline constexpr WindowLayout kMainWindow = {texts::kMainCaption, 3780, 4335};
inline constexpr unsigned kTimerId = 1;
inline constexpr unsigned kTimerIntervalMs = 500;

// clang-format off
inline constexpr ControlLayout kMainLayout[] = {
//   id              name         kind                       parent          text                 items                       left  top   width height   enabled checked maxLen min  max value
    {ctl::frame,     "frame",     ControlKind::Frame,        kOnWindow,      u" 设置",            {},                       {180,  180,  3435, 3315},  true,  false, 0,   0,   0,   0},
    {ctl::lbl0,      "lbl(0)",    ControlKind::Label,        ctl::frame,     u"动作",             {},                       {180,  480,  360,  180},   true,  false, 0,   0,   0,   0},
    {ctl::cmbAction, "cmbAction", ControlKind::DropDownList, ctl::frame,     u"",                 layout_lists::kActions,   {900,  420,  2295, 315},   true,  false, 0,   0,   0,   0},
    {ctl::pic,       "pic",       ControlKind::Picture,      ctl::frame,     u"",                 {},                       {150,  930,  3075, 825},   true,  false, 0,   0,   0,   0},
    {ctl::opt0,      "opt(0)",    ControlKind::Option,       ctl::pic,       u"之内",             {},                       {30,   60,   675,  195},   true,  true,  0,   0,   0,   0},
    {ctl::opt1,      "opt(1)",    ControlKind::Option,       ctl::pic,       u"于",               {},                       {30,   540,  675,  195},   true,  false, 0,   0,   0,   0},
    {ctl::lblPeriod, "lblPeriod", ControlKind::Name,         ctl::pic,       texts::kNamePeriod,  {},                       {735,  0,    0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::txtPeriod, "txtPeriod", ControlKind::TextBox,      ctl::pic,       u"1",                {},                       {750,  0,    495,  315},   true,  false, 3,   0,   0,   0},
    {ctl::lblPeriodSpin, "lblPeriodSpin", ControlKind::Name, ctl::pic,       texts::kNamePeriodSpin, {},                    {1215, 0,    0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::vsPeriod,  "vsPeriod",  ControlKind::SpinBar,      ctl::pic,       u"",                 {},                       {1230, 0,    165,  315},   true,  false, 0, 999,   1,   1},
    {ctl::lblUnit,   "lblUnit",   ControlKind::Name,         ctl::pic,       texts::kNameUnit,    {},                       {1515, 0,    0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::cmbUnit,   "cmbUnit",   ControlKind::DropDownList, ctl::pic,       u"",                 layout_lists::kUnits,     {1530, 0,    1515, 315},   true,  false, 0,   0,   0,   0},
    {ctl::lblHour,   "lblHour",   ControlKind::Name,         ctl::pic,       texts::kNameHour,    {},                       {735,  480,  0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::txtHour,   "txtHour",   ControlKind::TextBox,      ctl::pic,       u"1",                {},                       {750,  480,  495,  315},   false, false, 2,   0,   0,   0},
    {ctl::lblHourSpin, "lblHourSpin", ControlKind::Name,     ctl::pic,       texts::kNameHourSpin, {},                      {1215, 480,  0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::vsHour,    "vsHour",    ControlKind::SpinBar,      ctl::pic,       u"",                 {},                       {1230, 480,  165,  315},   false, false, 0,  12,   1,   1},
    {ctl::lblMin,    "lblMin",    ControlKind::Name,         ctl::pic,       texts::kNameMinute,  {},                       {1515, 480,  0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::txtMin,    "txtMin",    ControlKind::TextBox,      ctl::pic,       u"00",               {},                       {1530, 480,  495,  315},   false, false, 2,   0,   0,   0},
    {ctl::lblMinSpin, "lblMinSpin", ControlKind::Name,       ctl::pic,       texts::kNameMinuteSpin, {},                    {1995, 480,  0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::vsMin,     "vsMin",     ControlKind::SpinBar,      ctl::pic,       u"",                 {},                       {2010, 480,  165,  315},   false, false, 0,  59,   0,   0},
    {ctl::lblT,      "lblT",      ControlKind::Name,         ctl::pic,       texts::kNameHalfDay, {},                       {2295, 480,  0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::cmbT,      "cmbT",      ControlKind::DropDownList, ctl::pic,       u"",                 layout_lists::kHalfDay,   {2310, 480,  735,  315},   false, false, 0,   0,   0,   0},
    {ctl::chkForce,  "chkForce",  ControlKind::Check,        ctl::frame,     u"强制终止进程",     {},                       {210,  1920, 3075, 255},   true,  true,  0,   0,   0,   0},
    {ctl::chkBlink,  "chkBlink",  ControlKind::Check,        ctl::frame,     u"图标闪动之前执行", {},                       {210,  2340, 2475, 255},   true,  true,  0,   0,   0,   0},
    {ctl::lblBlink,  "lblBlink",  ControlKind::Name,         ctl::frame,     texts::kNameLead,    {},                       {885,  2760, 0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::txtBlink,  "txtBlink",  ControlKind::TextBox,      ctl::frame,     u"30",               {},                       {900,  2760, 495,  315},   true,  false, 3,   0,   0,   0},
    {ctl::lblBlinkSpin, "lblBlinkSpin", ControlKind::Name,   ctl::frame,     texts::kNameLeadSpin, {},                      {1365, 2760, 0,    315},   true,  false, 0,   0,   0,   0},
    {ctl::vsBlink,   "vsBlink",   ControlKind::SpinBar,      ctl::frame,     u"",                 {},                       {1380, 2760, 165,  315},   true,  false, 0, 999,   1,  30},
    {ctl::lbl1,      "lbl(1)",    ControlKind::Label,        ctl::frame,     u"秒",               {},                       {1680, 2820, 180,  180},   true,  false, 0,   0,   0,   0},
    {ctl::cmdTimer,  "cmdTimer",  ControlKind::Command,      kOnWindow,      texts::kStartButton, {},                       {180,  3660, 3435, 315},   true,  false, 0,   0,   0,   0},
    {ctl::lblStatus, "lblStatus", ControlKind::StatusStrip,  kOnWindow,      texts::kStartStatus, {},                       {0,    4140, 3795, 195},   true,  false, 0,   0,   0,   0},
};
// clang-format on
static_assert(RowsInOrder(kMainLayout, ctl::kControlCount),
              "one row per control id, in id order, what a container holds right after it");

using MainControls = ControlSet<kMainLayout>;

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
