// Keyboard focus over a whole window: Tab follows the table's rows, which are
// in the window's reading order (see RowsInOrder), across containers, and
// only controls that can take the focus get it.
#pragma once
#include <span>

#include "ui/layout.h"

namespace dusklet {

// Whether the control can take the focus now: a kind that takes it, enabled
// together with every container up to the window, and for an option button
// only the chosen one of its group. `controls` holds the table's controls by id.
bool CanTakeFocus(std::span<const ControlLayout> rows, std::span<Control* const> controls, int id);

// The control that Tab (or Shift+Tab, `backwards`) moves the focus to from
// `current` (-1 when no control has it): the next row that can take it,
// wrapping around; -1 when none can.
int NextInTabOrder(std::span<const ControlLayout> rows, std::span<Control* const> controls, int current,
                   bool backwards);

}  // namespace dusklet
