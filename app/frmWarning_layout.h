// The warning panel as it exists before any code runs: whose it is, the
// countdown and the two buttons that answer it, in the bottom-right corner
// of the screen while the warning period runs.
#pragma once
#include "app/texts.h"
#include "ui/layout.h"

namespace dusklet {

namespace warning {
enum ControlId : int { lblTitle, lblCountdown, cmdPostpone, cmdCancel, kControlCount };
}  // namespace warning

// The top of the panel, from its edge to below the countdown, is a black bar
// that holds the program's icon (drawn at the system's small icon size at
// kIconLeft, kIconTop), its name and the countdown.
inline constexpr int kWarningBarHeight = 900;
inline constexpr int kWarningIconLeft = 120, kWarningIconTop = 105;
// The frame that sets the panel off from any window behind it.
inline constexpr int kWarningFrame = 30;

// Its caption shows nowhere: it is the panel's name for screen readers,
// followed by the countdown. No message box is titled so.
inline constexpr WindowLayout kWarningWindow = {texts::kPanelName, 3900, 1470};

// clang-format off
inline constexpr ControlLayout kWarningLayout[] = {
//   id                     kind                      parent     name            text                    items rect (left, top, width, height) enabled checked maxLen min max value
    {warning::lblTitle,      ControlKind::TextLabel,    kOnWindow,  "lblTitle",      texts::kProgramTitle,    {},  {480, 120, 3300, 240},   true,  false,  0,  0,  0,  0},
    {warning::lblCountdown,  ControlKind::StatusStrip,  kOnWindow,  "lblCountdown",  u"",                     {},  {120, 420, 3660, 390},   true,  false,  0,  0,  0,  0},
    {warning::cmdPostpone,   ControlKind::Touch,        kOnWindow,  "cmdPostpone",   texts::kPostponeButton,  {},  {120, 960, 2220, 405},   true,  false,  0,  0,  0,  0},
    {warning::cmdCancel,     ControlKind::Touch,        kOnWindow,  "cmdCancel",     texts::kCancelButton,    {},  {2460, 960, 1320, 405},  true,  false,  0,  0,  0,  0},
};
// clang-format on
static_assert(RowsInOrder(kWarningLayout, warning::kControlCount),
              "one row per control id, in id order, what a container holds right after it");

}  // namespace dusklet
