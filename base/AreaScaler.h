// Scales a picture down by area averaging (a box filter): each target pixel is the mean of the
// source area it covers, partly covered source pixels counted by the part. The source comes in
// one row at a time, from the top, so only a row's worth of sums is kept, never the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "base/PixelSurface.h"

class AreaScaler {
  public:
    // target: a 32-bit surface no larger than the source either way; its size is the scale.
    AreaScaler(int32_t sourceWidth, int32_t sourceHeight, const PixelSurface& target);
    virtual ~AreaScaler() = default;
    AreaScaler(const AreaScaler&) = delete;
    AreaScaler& operator=(const AreaScaler&) = delete;

    // The next source row from the top: sourceWidth pixels, blue, green and red in the low three
    // bytes. Rows past the source's height are ignored.
    void AddRow(const uint32_t* pixels);

    // The size within limit x limit that keeps the proportions of width x height, the longer side
    // at the limit (each side at least 1); a size already within it is kept.
    static void FitWithin(int64_t width, int64_t height, int32_t limit, int32_t& fittedWidth,
                          int32_t& fittedHeight);

  private:
    // Where one source pixel (or row) goes: the first target cell it covers, and how much of it
    // lies there; the rest lies in the next cell.
    struct Share {
        int32_t first;
        uint32_t part;
    };
    static std::vector<Share> Shares(int32_t source, int32_t target);
    void EmitRow(int32_t row);

    int32_t sourceWidth_;
    int32_t sourceHeight_;
    PixelSurface target_;
    std::vector<Share> columns_;
    std::vector<Share> rows_;
    std::vector<uint64_t> line_;  // one source row's sums per target column, three channels
    std::vector<uint64_t> current_;
    std::vector<uint64_t> next_;
    int32_t rowsIn_ = 0;
};
