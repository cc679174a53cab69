// Whole-pixel enlargement by a factor, for the window outlines and for the pictures where no
// GDI stretch is used: a pixel becomes a factor x factor block of the same value.
#pragma once

#include <cstdint>
#include <vector>

#include "base/PixelSurface.h"
#include "base/ScreenRect.h"
#include "base/TransparentRuns.h"

// Each run as the rectangle it covers once enlarged (coordinates times scale); a region made of
// these is exactly the enlarged mask. The rectangles do not overlap, as the runs do not. A scale
// below 1 counts as 1.
std::vector<ScreenRect> ScaleRuns(const std::vector<PixelRun>& runs, int32_t scale);

// Writes the w x h pixels of src at (sx, sy), each enlarged to a scale x scale block, to dst at
// (dx, dy), clipped to both images. Both must be 32-bit and distinct; returns false otherwise,
// touching nothing.
bool EnlargePixels(const PixelSurface& dst, int dx, int dy, const PixelSurface& src, int sx, int sy,
                   int w, int h, int32_t scale);
