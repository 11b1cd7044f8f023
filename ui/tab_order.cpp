#include "ui/tab_order.h"

namespace dusklet {

bool CanTakeFocus(std::span<const ControlLayout> rows, std::span<Control* const> controls, int id) {
    const ControlLayout& row = rows[static_cast<size_t>(id)];
    if (!TakesFocus(row.kind)) return false;
    if (row.kind == ControlKind::Option && !static_cast<OptionButton*>(controls[static_cast<size_t>(id)])->Value())
        return false;
    for (int i = id; i != kOnWindow; i = rows[static_cast<size_t>(i)].parent)
        if (!controls[static_cast<size_t>(i)]->Enabled()) return false;
    return true;
}

int NextInTabOrder(std::span<const ControlLayout> rows, std::span<Control* const> controls, int current,
                   bool backwards) {
    // From no control Tab starts at the first row, Shift+Tab at the last.
    const int count = static_cast<int>(rows.size());
    const int step = backwards ? count - 1 : 1;
    int id = current >= 0 ? current : (backwards ? 0 : count - 1);
    for (int i = 0; i < count; ++i) {
        id = (id + step) % count;
        if (CanTakeFocus(rows, controls, id)) return id;
    }
    return -1;
}

}  // namespace dusklet
