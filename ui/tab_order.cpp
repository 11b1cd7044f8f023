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
    // The nearest tab index beyond the current one in the direction of travel;
    // past the last, or from no control, the farthest one the other way (Tab
    // starts at the first, Shift+Tab at the last).
    auto before = [&](int a, int b) { return backwards ? a > b : a < b; };
    int next = -1, wrap = -1;
    for (const ControlLayout& row : rows) {
        if (!CanTakeFocus(rows, controls, row.id)) continue;
        if (current >= 0 && before(rows[static_cast<size_t>(current)].tabIndex, row.tabIndex) &&
            (next < 0 || before(row.tabIndex, rows[static_cast<size_t>(next)].tabIndex)))
            next = row.id;
        if (wrap < 0 || before(row.tabIndex, rows[static_cast<size_t>(wrap)].tabIndex)) wrap = row.id;
    }
    return next >= 0 ? next : wrap;
}

}  // namespace dusklet
