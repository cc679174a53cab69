// A position in virtual-screen pixels (the primary monitor's top left is the origin, so a
// monitor to its left or above has negative coordinates).
#pragma once

#include <cstdint>

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const ScreenPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const ScreenPoint& other) const { return !(*this == other); }
};
