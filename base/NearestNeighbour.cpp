// Enlargement by whole pixels. The clipping works on the enlarged rectangle in 64 bits, so that a
// block cut by an image edge keeps only its inside part and no position can wrap around.
#include "base/NearestNeighbour.h"

#include <algorithm>
#include <cstring>

namespace {
// The offsets j in 0..size*scale - 1 of an enlarged span that land inside the destination
// (0 <= to + j < toSide) and come from inside the source (0 <= from + j / scale < fromSide).
struct Span {
    int64_t first;
    int64_t end;
};

Span ClipSpan(int64_t size, int64_t scale, int64_t to, int64_t toSide, int64_t from,
              int64_t fromSide) {
    return {std::max<int64_t>({0, -to, -from * scale}),
            std::min<int64_t>({size * scale, toSide - to, (fromSide - from) * scale})};
}
}  // namespace

std::vector<ScreenRect> ScaleRuns(const std::vector<PixelRun>& runs, int32_t scale) {
    const int32_t s = std::max<int32_t>(scale, 1);
    std::vector<ScreenRect> rects;
    rects.reserve(runs.size());
    for (const PixelRun& r : runs) {
        rects.push_back({r.start * s, r.row * s, r.end * s, (r.row + 1) * s});
    }
    return rects;
}

bool EnlargePixels(const PixelSurface& dst, int dx, int dy, const PixelSurface& src, int sx, int sy,
                   int w, int h, int32_t scale) {
    if (dst.bitCount != 32 || src.bitCount != 32 || (dst.bits == src.bits && dst.bits != nullptr)) {
        return false;
    }
    if (dst.IsEmpty() || src.IsEmpty() || w <= 0 || h <= 0) {
        return true;
    }
    const int64_t s = std::max<int32_t>(scale, 1);
    const Span cols = ClipSpan(w, s, dx, dst.width, sx, src.width);
    const Span rows = ClipSpan(h, s, dy, dst.height, sy, src.height);
    if (cols.end <= cols.first || rows.end <= rows.first) {
        return true;
    }
    const size_t count = static_cast<size_t>(cols.end - cols.first);
    for (int64_t j = rows.first; j < rows.end; ++j) {
        uint32_t* to =
            reinterpret_cast<uint32_t*>(dst.Row(static_cast<int>(dy + j))) + (dx + cols.first);
        // Every row of a block after the first is a copy of the row above it.
        if (j > rows.first && j % s != 0) {
            const uint8_t* above = dst.Row(static_cast<int>(dy + j - 1));
            std::memcpy(to, reinterpret_cast<const uint32_t*>(above) + (dx + cols.first),
                        count * sizeof(uint32_t));
            continue;
        }
        const uint32_t* from =
            reinterpret_cast<const uint32_t*>(src.Row(static_cast<int>(sy + j / s)));
        for (size_t k = 0; k < count; ++k) {
            to[k] = from[sx + (cols.first + static_cast<int64_t>(k)) / s];
        }
    }
    return true;
}
