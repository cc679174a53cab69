// Pixel reads and counts over a rectangle of a DIB image, for the Windows tests that judge frames
// and pictures pixel by pixel.
#pragma once

#include <cstdint>
#include <functional>

#include "imaging/DIBImage.h"

namespace pixeltest {

inline uint32_t Pixel(const DIBImage* image, int x, int y) {
    return image->GetLine(y)[x] & 0xFFFFFFu;
}

// How many points (x, y) of the rectangle [left, right) x [top, bottom), every step-th each way,
// satisfy test.
inline int CountWhere(int left, int top, int right, int bottom,
                      const std::function<bool(int, int)>& test, int step = 1) {
    int count = 0;
    for (int y = top; y < bottom; y += step) {
        for (int x = left; x < right; x += step) {
            count += test(x, y) ? 1 : 0;
        }
    }
    return count;
}

// Sets every pixel of a 32-bit image to colour(x, y).
inline void Fill(DIBImage* image, const std::function<uint32_t(int, int)>& colour) {
    for (int y = 0; y < image->GetHeight(); ++y) {
        for (int x = 0; x < image->GetWidth(); ++x) {
            image->GetLine(y)[x] = colour(x, y);
        }
    }
}

// What the window shows in its client rectangle (0, 0)-(width, height), read from the display
// into a 32-bit image.
inline void ReadWindow(HWND window, int width, int height, DIBImage* into) {
    into->ChangeBitCount(32);
    into->SetWidth(width);
    into->SetHeight(height);
    HDC dc = GetDC(window);
    BitBlt(into->GetMemoryDC()->GetHDC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
}

// The pixels of the rectangle in which a and b differ.
inline int Differences(const DIBImage* a, const DIBImage* b, int left, int top, int right,
                       int bottom) {
    return CountWhere(left, top, right, bottom,
                      [a, b](int x, int y) { return Pixel(a, x, y) != Pixel(b, x, y); });
}

}  // namespace pixeltest
