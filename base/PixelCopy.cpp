// Clipping and the copy loops. Sizes are worked out in 64 bits so that no position, however far
// off, can wrap around into the image.
#include "base/PixelCopy.h"

#include <algorithm>
#include <cstring>

CopyWindow ClipCopy(int w, int h, const CopyPlacement* placements, int count) {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = w;
    int64_t bottom = h;
    for (int i = 0; i < count; ++i) {
        const PixelSurface& s = *placements[i].surface;
        if (s.IsEmpty()) {
            return {};
        }
        // Offsets j inside the copy with 0 <= x + j < width, and the same for rows.
        left = std::max<int64_t>(left, -static_cast<int64_t>(placements[i].x));
        top = std::max<int64_t>(top, -static_cast<int64_t>(placements[i].y));
        right = std::min<int64_t>(right, static_cast<int64_t>(s.width) - placements[i].x);
        bottom = std::min<int64_t>(bottom, static_cast<int64_t>(s.height) - placements[i].y);
    }
    if (right <= left || bottom <= top) {
        return {};
    }
    CopyWindow window;
    window.offsetX = static_cast<int>(left);
    window.offsetY = static_cast<int>(top);
    window.width = static_cast<int>(right - left);
    window.height = static_cast<int>(bottom - top);
    return window;
}

bool CopyPixelRows(const PixelSurface& dst, int dx, int dy, int w, int h, const PixelSurface& src,
                   int sx, int sy) {
    if (dst.bitCount != src.bitCount || dst.bitCount < 8 || dst.bitCount % 8 != 0) {
        return false;
    }
    const CopyPlacement placements[] = {{&dst, dx, dy}, {&src, sx, sy}};
    const CopyWindow c = ClipCopy(w, h, placements, 2);
    if (c.IsEmpty()) {
        return true;
    }
    const int bpp = dst.BytesPerPixel();
    const size_t rowBytes = static_cast<size_t>(c.width) * bpp;
    const int firstDx = dx + c.offsetX;
    const int firstSx = sx + c.offsetX;
    // Within one image a downward copy must start from its last row so no row is overwritten
    // before it is read; each row itself is a memmove.
    const bool backwards = dst.bits == src.bits && dy > sy;
    for (int n = 0; n < c.height; ++n) {
        const int k = c.offsetY + (backwards ? c.height - 1 - n : n);
        uint8_t* to = dst.Row(dy + k) + static_cast<size_t>(firstDx) * bpp;
        const uint8_t* from = src.Row(sy + k) + static_cast<size_t>(firstSx) * bpp;
        std::memmove(to, from, rowBytes);
    }
    return true;
}

bool MaskCopyPixels(const PixelSurface& dst, int dx, int dy, int w, int h, const PixelSurface& src,
                    int sx, int sy, const PixelSurface& mask, int mx, int my, uint32_t key) {
    if (dst.bitCount != 32 || src.bitCount != 32 || mask.bitCount != 32) {
        return false;
    }
    const CopyPlacement placements[] = {{&dst, dx, dy}, {&src, sx, sy}, {&mask, mx, my}};
    const CopyWindow c = ClipCopy(w, h, placements, 3);
    for (int k = c.offsetY; k < c.offsetY + c.height; ++k) {
        uint32_t* to = reinterpret_cast<uint32_t*>(dst.Row(dy + k)) + (dx + c.offsetX);
        const uint32_t* from =
            reinterpret_cast<const uint32_t*>(src.Row(sy + k)) + (sx + c.offsetX);
        const uint32_t* keyRow =
            reinterpret_cast<const uint32_t*>(mask.Row(my + k)) + (mx + c.offsetX);
        for (int j = 0; j < c.width; ++j) {
            if ((keyRow[j] & 0xFFFFFFu) != key) {
                to[j] = from[j];
            }
        }
    }
    return true;
}
