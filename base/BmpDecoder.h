// Reads an untrusted BMP file (or a packed DIB, as bitmap resources hold them), checks every
// field against the bytes that are really there, and decodes the pixels into the one form the
// images keep: a bottom-up, uncompressed DIB with a 40-byte header. Pixel data that end before
// the picture does are refused (only the last row's padding may be missing); a picture larger
// than the image limit comes out scaled down to it, 32 bits deep, by area averaging.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/BmpHeaders.h"

enum class BmpError {
    None,
    NotBitmap,  // the file does not start with "BM"
    BadData,    // a header, table, size or offset that cannot be right
};

// What a successful parse found: the header the image will carry and where the pixels are.
struct BmpLayout {
    BmpInfoHeader source{};          // the header as the file has it
    BmpInfoHeader header{};          // the image's: 40 bytes, bottom-up, BI_RGB
    std::vector<BmpColour> colours;  // 2, 16 or 256 entries for paletted images, else none
    int32_t sourceWidth = 0;         // the picture as stored (header holds the image's size)
    int32_t sourceHeight = 0;        // positive
    bool scaled = false;             // the image is the picture scaled down to the limit
    BmpMasks masks{};                // for 16-bit and bit-field pixels
    uint64_t pixelOffset = 0;        // where the pixel data start, from the start of the data
    int64_t sourceRowBytes = 0;      // one stored row (uncompressed formats)
    int widthBytes = 0;              // one row of the decoded image
    size_t pixelBytes = 0;           // widthBytes x height
    bool topDown = false;
};

class BmpDecoder {
  public:
    BmpDecoder() = default;

    // A whole BMP file, of which the first size bytes are given; fileSize is the file's real
    // length (the pixel offset must lie inside it). The header and colour table must lie inside
    // the given bytes.
    BmpError ParseFile(const uint8_t* data, size_t size, uint64_t fileSize);
    // A packed DIB: the info header, masks and colour table, then the pixels.
    BmpError ParseDib(const uint8_t* data, size_t size);

    const BmpLayout& Layout() const { return layout_; }
    // How many bytes from the start of the data the decoder can use at most.
    uint64_t BytesNeeded(uint64_t fileSize) const;
    // The image's info block: the normalised header followed by its colour table, or by one spare
    // zero slot when there is none.
    std::vector<uint8_t> InfoBlock() const;
    // Decodes into out (at least Layout().pixelBytes bytes), bottom row first. False when the
    // pixel data end before the picture does, or a compressed stream leaves its row or the
    // image, or stops before its last row; out then holds a partial picture that must not be
    // shown.
    bool Decode(const uint8_t* data, size_t size, uint8_t* out, size_t outBytes) const;
    // The same from the pixel data alone: data holds size bytes from Layout().pixelOffset on, so
    // a file need not be read across a gap before its pixels.
    bool DecodePixels(const uint8_t* data, size_t size, uint8_t* out, size_t outBytes) const;

  private:
    // Windows: 40, 108 or 124 bytes. Core: the 12-byte OS/2 1.x header with 3-byte colours.
    // Os2: an OS/2 2.x header of 16 to 64 bytes, laid out like the Windows one as far as it goes.
    enum class HeaderKind { Unknown, Windows, Core, Os2 };
    static HeaderKind KindOfHeader(uint32_t size);
    // Reads the header at h, of which available bytes are there, into the 40-byte form.
    BmpError ReadHeader(const uint8_t* h, size_t available, BmpInfoHeader& s);
    // pixelOffset: where a file's pixels start, or UINT64_MAX for a packed DIB.
    BmpError ParseInfo(const uint8_t* data, size_t size, size_t headerAt, uint64_t pixelOffset);
    BmpError Finish(uint64_t pixelOffset, uint64_t dataEnd);
    BmpError Fail(BmpError error);
    // These read the pixel data alone, from its first byte.
    void DecodeRows(const uint8_t* data, size_t size, uint8_t* out) const;
    void DecodeMasked(const uint8_t* data, uint8_t* out) const;
    // Into rows of rowBytes, the source's size, bottom row first.
    bool DecodeRle(const uint8_t* data, size_t size, uint8_t* out, size_t rowBytes) const;
    // The whole picture through the scaler into out, the scaled image.
    bool DecodeScaled(const uint8_t* data, size_t size, uint8_t* out) const;
    // One stored row of sourceWidth pixels (or one a run-length stream decoded to) as 32-bit
    // blue-green-red words.
    void ExpandRow(const uint8_t* row, uint32_t* to) const;
    // Bytes the stored rows need: all rows, the last without its padding (uncompressed only).
    uint64_t StoredPixelBytes() const;
    bool IsRle() const;

    BmpLayout layout_;
    uint64_t headerEnd_ = 0;  // first byte after header and masks
    uint32_t tableEntries_ = 0;
    uint32_t entryBytes_ = 4;         // one colour-table entry: 3 in an OS/2 1.x file
    std::vector<BmpColour> palette_;  // the picture's table, also when the image has none
    HeaderKind kind_ = HeaderKind::Unknown;
};
