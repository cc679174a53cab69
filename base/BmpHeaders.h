// The fields of a BMP file as plain records, laid out byte for byte like the platform's
// BITMAPFILEHEADER (without its packing) and BITMAPINFOHEADER, so the Windows side can copy them.
#pragma once

#include <cstdint>

namespace bmp {
constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;    // OS/2 1.x BITMAPCOREHEADER: 16-bit sides
constexpr uint32_t kOs2MinHeaderBytes = 16;  // OS/2 2.x: the shortest form of its header
constexpr uint32_t kOs2HeaderBytes = 64;     // OS/2 2.x: the full BITMAPINFOHEADER2
constexpr uint32_t kInfoHeaderBytes = 40;    // BITMAPINFOHEADER
constexpr uint32_t kV4HeaderBytes = 108;     // BITMAPV4HEADER
constexpr uint32_t kV5HeaderBytes = 124;     // BITMAPV5HEADER
constexpr uint32_t kMaskBytes = 12;          // red, green and blue masks after a 40-byte header
constexpr uint32_t kRgb = 0;                 // BI_RGB
constexpr uint32_t kRle8 = 1;                // BI_RLE8
constexpr uint32_t kRle4 = 2;                // BI_RLE4
constexpr uint32_t kBitfields = 3;           // BI_BITFIELDS; Huffman 1D in an OS/2 2.x header
constexpr uint16_t kTypeBM = 0x4D42;         // "BM" read little-endian
}  // namespace bmp

struct BmpFileHeader {
    uint16_t type;
    uint32_t size;
    uint16_t reserved1;
    uint16_t reserved2;
    uint32_t offBits;
};

struct BmpInfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
};
static_assert(sizeof(BmpInfoHeader) == bmp::kInfoHeaderBytes, "BITMAPINFOHEADER layout");

struct BmpColour {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};
static_assert(sizeof(BmpColour) == 4, "RGBQUAD layout");

struct BmpMasks {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};
