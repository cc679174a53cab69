// The copies between images: whole rows of any byte-sized format, and 32-bit pixels behind a
// mask. Every rectangle is clipped against every image it touches, so no position reads or
// writes outside an image.
#pragma once

#include <cstdint>

#include "base/PixelSurface.h"

// The part of a copy that lies inside all its images: the offsets (columns, rows) into the
// requested rectangle and the clipped size. Empty when width or height is 0.
struct CopyWindow {
    int offsetX = 0;
    int offsetY = 0;
    int width = 0;
    int height = 0;
    bool IsEmpty() const { return width <= 0 || height <= 0; }
};

// Where the rectangle (x, y) of size w x h of one image starts relative to the copy.
struct CopyPlacement {
    const PixelSurface* surface;
    int x;
    int y;
};

// Clips the w x h copy against each placement; count is 1 to 3.
CopyWindow ClipCopy(int w, int h, const CopyPlacement* placements, int count);

// Copies w x h pixels of src at (sx, sy) to dst at (dx, dy), a row at a time. Both images must
// have the same whole-byte format (8, 16, 24 or 32 bits); returns false, touching nothing,
// otherwise. Rectangles are clipped; overlapping rows of one image are copied as if through a
// buffer.
bool CopyPixelRows(const PixelSurface& dst, int dx, int dy, int w, int h, const PixelSurface& src,
                   int sx, int sy);

// Copies the 32-bit source pixels whose mask pixel differs from key in its low 24 bits; the whole
// source word goes across. All three images must be 32-bit; returns false otherwise.
bool MaskCopyPixels(const PixelSurface& dst, int dx, int dy, int w, int h, const PixelSurface& src,
                    int sx, int sy, const PixelSurface& mask, int mx, int my, uint32_t key);
