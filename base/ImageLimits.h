// The one size limit of every picture: the loader, the images' conversions and resizes and the
// ants' mask of the field all apply it before they change anything.
#pragma once

#include <cstdint>

// The longest side, in pixels, of any image. A field at the limit costs 64 MiB as the 32-bit field,
// 64 MiB as the 32-bit canvas and 16 MiB as the mask, about 145 MiB with the 300 x 360 frame; a
// reload at the limit peaks near 350 MiB while the old world, the new picture and its conversion
// overlap. That is within reach of a machine with little memory, and still leaves room for a 4K
// screen shot or a 12-megapixel photo. The limit is on each side rather than on the area so that
// growing the width first and the height second (or the other way round) never passes through a
// surface the limit forbids. Larger pictures are scaled down to it when they are loaded.
constexpr int32_t kMaxImageSide = 4096;

// The longest side of a picture the loader reads at all. A picture past kMaxImageSide (a phone's
// 8000 x 6000 photo) is scaled down to it as it is decoded; past this one it is refused. While such
// a picture is decoded its pixel data are held once, as the file stores them (8000 x 6000 at 24
// bits: 137 MiB), beside the scaled result (at most 64 MiB).
constexpr int32_t kMaxSourceSide = 32768;

// Whether a surface of width x height pixels is allowed: both sides between 1 and the limit.
constexpr bool FitsImageLimit(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide;
}

// Bytes of an allowed surface at the given depth (rows padded to whole 32-bit words), or -1 when
// the size is not allowed or the depth is not 1 to 32 bits. Never more than 64 MiB.
constexpr int64_t LimitedSurfaceBytes(int64_t width, int64_t height, int bitCount) {
    if (!FitsImageLimit(width, height) || bitCount < 1 || bitCount > 32) {
        return -1;
    }
    return (width * bitCount + 31) / 32 * 4 * height;
}
