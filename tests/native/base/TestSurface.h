// A pixel buffer sized exactly to its rows (so the sanitizer sees any stray access), addressed
// bottom-up the way the DIB sections are, with its own address arithmetic for the checks.
#pragma once

#include <cstdint>
#include <vector>

#include "base/PixelSurface.h"

class TestSurface {
  public:
    TestSurface(int width, int height, int bitCount, uint8_t fill = 0)
        : width_(width),
          height_(height),
          bitCount_(bitCount),
          widthBytes_((width * bitCount + 31) / 32 * 4),
          bytes_(static_cast<size_t>(widthBytes_) * height, fill) {}

    PixelSurface View() { return {bytes_.data(), width_, height_, widthBytes_, bitCount_}; }
    int WidthBytes() const { return widthBytes_; }
    std::vector<uint8_t>& Bytes() { return bytes_; }

    uint8_t* At(int x, int y) {
        return bytes_.data() + static_cast<size_t>(height_ - 1 - y) * widthBytes_ +
               static_cast<size_t>(x) * (bitCount_ / 8);
    }
    uint32_t Get32(int x, int y) {
        const uint8_t* p = At(x, y);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    void Set32(int x, int y, uint32_t v) {
        uint8_t* p = At(x, y);
        for (int i = 0; i < 4; ++i) {
            p[i] = static_cast<uint8_t>(v >> (8 * i));
        }
    }
    // Fills every pixel with a value that tells its position: tag in the top byte.
    void Number32(uint8_t tag) {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                Set32(x, y, (static_cast<uint32_t>(tag) << 24) | (y << 12) | x);
            }
        }
    }

  private:
    int width_;
    int height_;
    int bitCount_;
    int widthBytes_;
    std::vector<uint8_t> bytes_;
};
