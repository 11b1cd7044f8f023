// The warning panel as it exists before any code runs: the countdown and
// the two buttons that answer it, in the bottom-right corner of the screen
// while the warning period runs.
#pragma once
#include "app/texts.h"
#include "ui/layout.h"

namespace dusklet {

namespace warning {
enum ControlId : int { lblCountdown, cmdPostpone, cmdCancel, kControlCount };
}  // namespace warning

// No caption: it shows none, and a message box titled with the program's name is told apart.
inline constexpr WindowLayout kWarningWindow = {u"", 3900, 1095};

// clang-format off
inline constexpr ControlLayout kWarningLayout[] = {
//   id                      name            kind                      parent     text                   items  left  top  width height enabled checked maxLen min max value
    {warning::lblCountdown, "lblCountdown", ControlKind::StatusStrip, kOnWindow, u"",                   {},   {120,  150, 3660, 300},   true,  false, 0,    0,  0,  0},
    {warning::cmdPostpone,  "cmdPostpone",  ControlKind::Touch,       kOnWindow, texts::kPostponeItem,  {},   {120,  570, 2220, 405},   true,  false, 0,    0,  0,  0},
    {warning::cmdCancel,    "cmdCancel",    ControlKind::Touch,       kOnWindow, texts::kCancelButton,  {},   {2460, 570, 1320, 405},   true,  false, 0,    0,  0,  0},
};
// clang-format on
static_assert(RowsInOrder(kWarningLayout, warning::kControlCount),
              "one row per control id, in id order, what a container holds right after it");

}  // namespace dusklet
