#include "ui/spin_range.h"

#include <algorithm>

namespace dusklet {

int SpinRange::PositionOf(int value) const { return std::clamp((value - min_) * Step(), 0, Positions()); }

int16_t SpinRange::ValueAt(int position) const { return static_cast<int16_t>(min_ + position * Step()); }

int SpinRange::PositionAfter(SpinMove move, int position, int thumb) const {
    switch (move) {
    case SpinMove::LineUp:
    case SpinMove::PageUp: return std::max(position - 1, 0);
    case SpinMove::LineDown:
    case SpinMove::PageDown: return std::min(position + 1, Positions());
    case SpinMove::Top: return 0;
    case SpinMove::Bottom: return Positions();
    case SpinMove::Thumb: return std::clamp(thumb, 0, Positions());
    case SpinMove::Other: break;
    }
    return -1;
}

}  // namespace dusklet
