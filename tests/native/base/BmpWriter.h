// Builds BMP files in memory for the tests and the fuzz corpus: any header size (OS/2 ones too),
// depth, compression and table, with the stored pixel bytes given as they lie in the file.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/BmpHeaders.h"

struct BmpSpec {
    uint32_t headerSize = bmp::kInfoHeaderBytes;  // 12: OS/2 1.x; 16 to 64: OS/2 2.x
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = bmp::kRgb;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
    std::vector<BmpColour> colours;  // written after the header (and masks)
    bool writeMasks = false;         // masks: inside a V4/V5 header, else after a 40-byte one
    BmpMasks masks{};
    std::vector<uint8_t> pixels;  // stored bytes, exactly as they follow the table
    int64_t offBits = -1;         // -1: right after the table
};

inline void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The packed DIB (header, masks, table, pixels) that a bitmap resource holds. A 12-byte header is
// the OS/2 1.x one, with 16-bit sides and 3-byte colours; any other size takes the fields of the
// 40-byte header as far as it reaches (an OS/2 2.x short form) and zeros past them.
inline std::vector<uint8_t> WriteDib(const BmpSpec& s) {
    std::vector<uint8_t> out;
    if (s.headerSize == bmp::kCoreHeaderBytes) {
        out.assign(bmp::kCoreHeaderBytes, 0);
        PutLe(out, 0, s.headerSize, 4);
        PutLe(out, 4, static_cast<uint32_t>(s.width), 2);
        PutLe(out, 6, static_cast<uint32_t>(s.height), 2);
        PutLe(out, 8, s.planes, 2);
        PutLe(out, 10, s.bitCount, 2);
    } else {
        const bool masksAfter = s.writeMasks && s.headerSize == bmp::kInfoHeaderBytes;
        out.assign(std::max<size_t>(s.headerSize, bmp::kInfoHeaderBytes + bmp::kMaskBytes), 0);
        PutLe(out, 0, s.headerSize, 4);
        PutLe(out, 4, static_cast<uint32_t>(s.width), 4);
        PutLe(out, 8, static_cast<uint32_t>(s.height), 4);
        PutLe(out, 12, s.planes, 2);
        PutLe(out, 14, s.bitCount, 2);
        PutLe(out, 16, s.compression, 4);
        PutLe(out, 20, static_cast<uint32_t>(s.pixels.size()), 4);
        PutLe(out, 24, 2835, 4);
        PutLe(out, 28, 2835, 4);
        PutLe(out, 32, s.clrUsed, 4);
        PutLe(out, 36, s.clrImportant, 4);
        if (s.writeMasks) {
            PutLe(out, 40, s.masks.red, 4);
            PutLe(out, 44, s.masks.green, 4);
            PutLe(out, 48, s.masks.blue, 4);
        }
        out.resize(s.headerSize + (masksAfter ? bmp::kMaskBytes : 0));
    }
    for (const BmpColour& c : s.colours) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        if (s.headerSize != bmp::kCoreHeaderBytes) {
            out.push_back(c.reserved);
        }
    }
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

inline std::vector<uint8_t> WriteBmp(const BmpSpec& s) {
    const std::vector<uint8_t> dib = WriteDib(s);
    std::vector<uint8_t> out(bmp::kFileHeaderBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    const size_t tableEnd = bmp::kFileHeaderBytes + dib.size() - s.pixels.size();
    PutLe(out, 2, static_cast<uint32_t>(bmp::kFileHeaderBytes + dib.size()), 4);
    PutLe(out, 10, static_cast<uint32_t>(s.offBits >= 0 ? s.offBits : tableEnd), 4);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// A table of n distinct colours: entry i is (red i*16+1, green 255-i, blue i).
inline std::vector<BmpColour> RampColours(int n) {
    std::vector<BmpColour> table;
    for (int i = 0; i < n; ++i) {
        table.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                         static_cast<uint8_t>(i * 16 + 1), 0});
    }
    return table;
}

// A picture whose stored pixel bytes follow a pattern (byte i is i * step + start), with the full
// table of distinct ramp colours when its depth has one. A negative height is a top-down picture.
inline BmpSpec PatternedPicture(int bits, int width, int height, int step, int start) {
    BmpSpec s;
    s.bitCount = static_cast<uint16_t>(bits);
    s.width = width;
    s.height = height;
    if (bits <= 8) {
        s.colours = RampColours(1 << bits);
    }
    s.pixels.resize(static_cast<size_t>((width * bits + 31) / 32 * 4) * std::abs(height));
    for (size_t i = 0; i < s.pixels.size(); ++i) {
        s.pixels[i] = static_cast<uint8_t>(i * step + start);
    }
    return s;
}
