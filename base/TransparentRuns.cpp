// Run search over 32-bit rows; the rectangle is clipped first so no row or column outside the
// image is read.
#include "base/TransparentRuns.h"

#include <algorithm>

std::vector<PixelRun> FindOpaqueRuns(const PixelSurface& surface, int x, int y, int w, int h,
                                     uint32_t key) {
    std::vector<PixelRun> runs;
    if (surface.IsEmpty() || surface.bitCount != 32 || w <= 0 || h <= 0) {
        return runs;
    }
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + w, surface.width);
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + h, surface.height);
    for (int64_t r = top; r < bottom; ++r) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(surface.Row(static_cast<int>(r)));
        int64_t i = left;
        while (i < right) {
            if ((row[i] & 0xFFFFFFu) == key) {
                ++i;
                continue;
            }
            const int64_t s = i;
            while (i < right && (row[i] & 0xFFFFFFu) != key) {
                ++i;
            }
            runs.push_back({static_cast<int>(r), static_cast<int>(s), static_cast<int>(i)});
        }
    }
    return runs;
}
