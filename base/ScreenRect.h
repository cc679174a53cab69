// A rectangle in virtual-screen pixels, laid out as the system's RECT: right and bottom are the
// first column and row outside it.
#pragma once

#include <algorithm>
#include <cstdint>

struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // 64 bits, so that no pair of coordinates an API can hand over overflows.
    int64_t Width() const { return static_cast<int64_t>(right) - left; }
    int64_t Height() const { return static_cast<int64_t>(bottom) - top; }
    bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
    ScreenRect Intersection(const ScreenRect& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    bool Overlaps(const ScreenRect& o) const { return !Intersection(o).IsEmpty(); }

    bool operator==(const ScreenRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const ScreenRect& o) const { return !(*this == o); }
};
