// A view of one bottom-up pixel buffer as the DIB images lay it out, so that the copy kernels and
// the run search can work on any memory (a DIB section, or a plain buffer in the tests).
#pragma once

#include <cstdint>

struct PixelSurface {
    uint8_t* bits = nullptr;  // not owned: the bottom row first
    int width = 0;
    int height = 0;
    int widthBytes = 0;  // bytes per row, a multiple of 4
    int bitCount = 0;

    bool IsEmpty() const { return bits == nullptr || width <= 0 || height <= 0; }
    int BytesPerPixel() const { return (bitCount + 1) / 8; }
    // Row y counted from the top, as every coordinate of the images is.
    uint8_t* Row(int y) const {
        return bits + static_cast<intptr_t>(height - 1 - y) * static_cast<intptr_t>(widthBytes);
    }
    uint32_t Pixel32(int x, int y) const { return reinterpret_cast<const uint32_t*>(Row(y))[x]; }
};

// Bytes per row of a DIB of the given width and depth (rows padded to whole 32-bit words), or -1
// when that would not fit an int.
int64_t DibRowBytes(int64_t width, int bitCount);
