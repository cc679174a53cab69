// The search behind the window shapes: for each row of a rectangle, the runs of pixels whose
// colour is not the key. A window's region is the union of these one-pixel-high runs.
#pragma once

#include <cstdint>
#include <vector>

#include "base/PixelSurface.h"

struct PixelRun {
    int row;    // image row, counted from the top
    int start;  // first column of the run
    int end;    // first column after it
};

// The runs of non-key pixels (low 24 bits compared) inside the rectangle x, y, w, h of a 32-bit
// surface, in row order from the top and left to right within a row. The rectangle is clipped to
// the image; the runs keep image coordinates. Nothing for other depths.
std::vector<PixelRun> FindOpaqueRuns(const PixelSurface& surface, int x, int y, int w, int h,
                                     uint32_t key);
