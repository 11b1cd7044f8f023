// A vertical scroll bar used as a spinner. Its Min sits at the top end and is
// usually the larger number, so the up arrow raises the value. A scroll bar
// window counts its position from the top; this maps one onto the other.
#pragma once
#include <cstdint>

namespace dusklet {

enum class SpinMove { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Thumb, Other };

class SpinRange {
public:
    constexpr SpinRange(int16_t min, int16_t max) : min_(min), max_(max) {}

    int16_t Min() const { return min_; }
    int16_t Max() const { return max_; }
    // Positions run from 0 (top end, Min) to Positions() (bottom end, Max).
    int Positions() const { return (max_ - min_) * Step(); }
    // The position that shows a value; values beyond the range go to its ends.
    int PositionOf(int value) const;
    int16_t ValueAt(int position) const;
    // Where a move of the user's leaves the bar (small and large change are
    // both 1), or -1 for moves that change nothing.
    int PositionAfter(SpinMove move, int position, int thumb) const;

private:
    int Step() const { return max_ >= min_ ? 1 : -1; }
    int16_t min_, max_;
};

}  // namespace dusklet
