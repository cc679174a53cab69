// The whole-pixel scale of a monitor: everything is drawn S times as large with nearest-neighbour
// pixels, so the pictures stay crisp, and pointer positions are divided back into the program's
// own pixels.
#pragma once

#include <algorithm>
#include <cstdint>

#include "base/ScreenPoint.h"
#include "base/ScreenRect.h"

class PixelScale {
  public:
    static constexpr int32_t kBaseDpi = 96;  // the DPI at which one pixel is one pixel
    static constexpr int32_t kMaxFactor = 4;

    // The nearest whole number to dpi / 96, halves rounded up, kept within 1..4.
    static PixelScale ForDpi(int32_t dpi) {
        return PixelScale(FloorDiv(static_cast<int64_t>(dpi) + kBaseDpi / 2, kBaseDpi));
    }

    explicit PixelScale(int64_t factor)
        : factor_(static_cast<int32_t>(std::clamp<int64_t>(factor, 1, kMaxFactor))) {}
    virtual ~PixelScale() = default;

    int32_t Factor() const { return factor_; }

    int32_t Up(int32_t v) const { return v * factor_; }
    ScreenPoint Up(const ScreenPoint& p) const { return {Up(p.x), Up(p.y)}; }
    ScreenRect Up(const ScreenRect& r) const {
        return {Up(r.left), Up(r.top), Up(r.right), Up(r.bottom)};
    }
    // The program pixel a screen pixel lies in: rounded toward minus infinity, so that the pixel
    // just left of or above the origin is -1, not 0.
    int32_t Down(int32_t v) const { return static_cast<int32_t>(FloorDiv(v, factor_)); }
    ScreenPoint Down(const ScreenPoint& p) const { return {Down(p.x), Down(p.y)}; }

  private:
    static int64_t FloorDiv(int64_t a, int64_t b) {
        const int64_t q = a / b;
        return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
    }

    int32_t factor_;
};
