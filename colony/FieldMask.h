// The ants' map of the field: one byte per pixel of the background, walkable or not, and the
// pheromone trail cells that arrivals commit. A blocked band 28 pixels wide runs along every edge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/ImageLimits.h"

enum CellCode : uint8_t { CellBlocked = 0, CellFree = 1, CellTrail = 2, CellStrongTrail = 3 };

constexpr int32_t kBandWidth = 28;
constexpr int32_t kMinMaskSide = 2 * kBandWidth;  // the band must fit
// Largest mask Allocate accepts: the field of the largest picture the images allow (a side of
// kMaxImageSide each way); a longer side is refused.
constexpr int64_t kMaxMaskCells = int64_t{kMaxImageSide} * kMaxImageSide;

class FieldMask {
  public:
    FieldMask() = default;

    // Frees the cells and allocates width x height zero-filled ones. A size that is not positive
    // or has a side past kMaxImageSide (or memory that cannot be had) leaves an empty mask and
    // returns false.
    bool Allocate(int32_t width, int32_t height);
    void Free();

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool Empty() const { return cells_.empty(); }

    uint8_t* Cells() { return cells_.data(); }
    const uint8_t* Cells() const { return cells_.data(); }
    uint8_t& At(int32_t x, int32_t y) { return cells_[static_cast<size_t>(y) * width_ + x]; }
    uint8_t At(int32_t x, int32_t y) const { return cells_[static_cast<size_t>(y) * width_ + x]; }
    bool Contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    // The code at (x, y); a cell outside the mask reads as CellBlocked.
    uint8_t CellOrBlocked(int32_t x, int32_t y) const { return Contains(x, y) ? At(x, y) : 0; }

  private:
    std::vector<uint8_t> cells_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// Resets the mask: CellFree inside, CellBlocked on the 28-pixel band; every trail cell is gone.
// A mask smaller than 56 x 56 (or empty) is left untouched and false is returned.
bool BuildWalkMask(FieldMask& mask);
