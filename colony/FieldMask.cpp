// The walkable field mask: allocation guarded against impossible sizes, and the rebuild that
// frees the interior, blocks the 28-pixel band and so wipes every trail cell.
#include "colony/FieldMask.h"

#include <cstring>
#include <new>

bool FieldMask::Allocate(int32_t width, int32_t height) {
    Free();
    // The same limit as the images': a mask is never refused for a field the pictures allow.
    if (!FitsImageLimit(width, height)) {
        return false;
    }
    const int64_t cells = static_cast<int64_t>(width) * static_cast<int64_t>(height);
    try {
        cells_.assign(static_cast<size_t>(cells), 0);
    } catch (const std::bad_alloc&) {
        Free();
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void FieldMask::Free() {
    std::vector<uint8_t>().swap(cells_);
    width_ = 0;
    height_ = 0;
}

bool BuildWalkMask(FieldMask& mask) {
    const int32_t w = mask.Width();
    const int32_t h = mask.Height();
    if (mask.Empty() || w < kMinMaskSide || h < kMinMaskSide) {
        return false;
    }
    uint8_t* cells = mask.Cells();
    const size_t rowBytes = static_cast<size_t>(w);
    // Top and bottom band rows entirely blocked; every row between is free with a blocked
    // margin of 28 cells at both ends. Each cell is written exactly once.
    for (int32_t row = 0; row < h; ++row) {
        uint8_t* line = cells + static_cast<size_t>(row) * rowBytes;
        if (row < kBandWidth || row >= h - kBandWidth) {
            std::memset(line, CellBlocked, rowBytes);
            continue;
        }
        std::memset(line, CellBlocked, kBandWidth);
        std::memset(line + kBandWidth, CellFree, rowBytes - 2 * kBandWidth);
        std::memset(line + (w - kBandWidth), CellBlocked, kBandWidth);
    }
    return true;
}
