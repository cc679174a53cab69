// Validation and decoding of BMP data. Every read is checked against the bytes given; every size
// is worked out in 64 bits before it is trusted; nothing is written past the decoded surface.
#include "base/BmpDecoder.h"

#include <algorithm>
#include <cstring>

#include "base/AreaScaler.h"
#include "base/ImageLimits.h"
#include "base/PixelSurface.h"

namespace {
uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int CountBits(uint32_t v) {
    int n = 0;
    for (; v != 0; v &= v - 1) {
        ++n;
    }
    return n;
}
int LowestBit(uint32_t v) {
    int n = 0;
    while (v != 0 && (v & 1u) == 0) {
        v >>= 1;
        ++n;
    }
    return n;
}
// A mask must be one block of set bits (or empty) within the pixel's width.
bool MaskIsSound(uint32_t mask, int bitCount) {
    if (mask == 0) {
        return true;
    }
    if (bitCount < 32 && (mask >> bitCount) != 0) {
        return false;
    }
    const uint64_t shifted = static_cast<uint64_t>(mask) >> LowestBit(mask);
    return (shifted & (shifted + 1)) == 0;
}
// A channel value brought to 8 bits: the top bits of wide channels, narrow ones stretched so that
// all ones becomes 255.
uint8_t Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const uint32_t value = (pixel & mask) >> LowestBit(mask);
    const int bits = CountBits(mask);
    if (bits >= 8) {
        return static_cast<uint8_t>(value >> (bits - 8));
    }
    const uint32_t top = (1u << bits) - 1;
    return static_cast<uint8_t>((value * 255 + top / 2) / top);
}

bool IsKnownDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}
}  // namespace

BmpDecoder::HeaderKind BmpDecoder::KindOfHeader(uint32_t size) {
    if (size == bmp::kCoreHeaderBytes) {
        return HeaderKind::Core;
    }
    if (size == bmp::kInfoHeaderBytes || size == bmp::kV4HeaderBytes ||
        size == bmp::kV5HeaderBytes) {
        return HeaderKind::Windows;
    }
    // OS/2 2.x writers cut their 64-byte header after any whole field: every multiple of four
    // from 16 up, and the two sizes that end on a 16-bit field.
    if (size >= bmp::kOs2MinHeaderBytes && size <= bmp::kOs2HeaderBytes &&
        (size % 4 == 0 || size == 42 || size == 46)) {
        return HeaderKind::Os2;
    }
    return HeaderKind::Unknown;
}

BmpError BmpDecoder::ParseFile(const uint8_t* data, size_t size, uint64_t fileSize) {
    layout_ = BmpLayout{};
    if (data == nullptr || size < 2 || Read16(data) != bmp::kTypeBM) {
        return BmpError::NotBitmap;
    }
    fileSize = std::max<uint64_t>(fileSize, size);
    if (size < bmp::kFileHeaderBytes) {
        return BmpError::BadData;
    }
    const uint32_t offBits = Read32(data + 10);
    BmpError e = ParseInfo(data, size, bmp::kFileHeaderBytes, offBits);
    if (e == BmpError::None) {
        e = Finish(offBits, fileSize);
    }
    return e == BmpError::None ? e : Fail(e);
}

BmpError BmpDecoder::ParseDib(const uint8_t* data, size_t size) {
    layout_ = BmpLayout{};
    if (data == nullptr) {
        return BmpError::BadData;
    }
    BmpError e = ParseInfo(data, size, 0, UINT64_MAX);
    if (e == BmpError::None) {
        // The pixels follow the colour table, which for deep images holds biClrUsed entries.
        const uint64_t entries =
            layout_.source.bitCount <= 8 ? tableEntries_ : layout_.source.clrUsed;
        e = Finish(headerEnd_ + entries * entryBytes_, size);
    }
    return e == BmpError::None ? e : Fail(e);
}

BmpError BmpDecoder::ReadHeader(const uint8_t* h, size_t available, BmpInfoHeader& s) {
    s.size = Read32(h);
    kind_ = KindOfHeader(s.size);
    if (kind_ == HeaderKind::Unknown || available < s.size) {
        return BmpError::BadData;
    }
    if (kind_ == HeaderKind::Core) {
        // 16-bit unsigned sides, always bottom-up, no compression and no colour count.
        s.width = Read16(h + 4);
        s.height = Read16(h + 6);
        s.planes = Read16(h + 8);
        s.bitCount = Read16(h + 10);
        // OS/2 1.x knows no 16- or 32-bit pixels.
        return s.bitCount == 16 || s.bitCount == 32 ? BmpError::BadData : BmpError::None;
    }
    // The other headers share the layout of the 40-byte one; a short OS/2 2.x header leaves out
    // the fields at its end, which then read as zero.
    uint8_t f[bmp::kInfoHeaderBytes] = {};
    std::memcpy(f, h, std::min<size_t>(s.size, sizeof f));
    s.width = static_cast<int32_t>(Read32(f + 4));
    s.height = static_cast<int32_t>(Read32(f + 8));
    s.planes = Read16(f + 12);
    s.bitCount = Read16(f + 14);
    s.compression = Read32(f + 16);
    s.sizeImage = Read32(f + 20);
    s.xPelsPerMeter = static_cast<int32_t>(Read32(f + 24));
    s.yPelsPerMeter = static_cast<int32_t>(Read32(f + 28));
    s.clrUsed = Read32(f + 32);
    s.clrImportant = Read32(f + 36);
    return BmpError::None;
}

BmpError BmpDecoder::ParseInfo(const uint8_t* data, size_t size, size_t headerAt,
                               uint64_t pixelOffset) {
    if (size < headerAt + 4) {
        return BmpError::BadData;
    }
    const uint8_t* h = data + headerAt;
    BmpInfoHeader s{};
    const BmpError read = ReadHeader(h, size - headerAt, s);
    layout_.source = s;
    if (read != BmpError::None) {
        return read;
    }

    if (s.width <= 0 || s.height == 0 || s.height == INT32_MIN || s.planes != 1 ||
        !IsKnownDepth(s.bitCount)) {
        return BmpError::BadData;
    }
    const bool paletted = s.bitCount <= 8;
    switch (s.compression) {
        case bmp::kRgb:
            break;
        case bmp::kRle8:
        case bmp::kRle4:
            // Compressed pictures are bottom-up only, and each form belongs to one depth.
            if (s.height < 0 || s.bitCount != (s.compression == bmp::kRle8 ? 8 : 4)) {
                return BmpError::BadData;
            }
            break;
        case bmp::kBitfields:
            // In an OS/2 2.x header the same number means 1-bit Huffman coding, which is not read;
            // the masks need room after a 40-byte header or inside a header of 52 bytes or more.
            if ((s.bitCount != 16 && s.bitCount != 32) ||
                (s.size != bmp::kInfoHeaderBytes && s.size < bmp::kInfoHeaderBytes + 12)) {
                return BmpError::BadData;
            }
            break;
        default:  // JPEG and PNG inside a BMP, OS/2 24-bit RLE and anything unknown
            return BmpError::BadData;
    }
    layout_.topDown = s.height < 0;
    const int64_t height = s.height < 0 ? -static_cast<int64_t>(s.height) : s.height;

    headerEnd_ = headerAt + s.size;
    if (s.compression == bmp::kBitfields) {
        // The masks follow a 40-byte header; the larger headers carry them inside.
        const uint8_t* m = h + bmp::kInfoHeaderBytes;
        if (s.size == bmp::kInfoHeaderBytes) {
            if (size - headerEnd_ < bmp::kMaskBytes) {
                return BmpError::BadData;
            }
            headerEnd_ += bmp::kMaskBytes;
        }
        layout_.masks = {Read32(m), Read32(m + 4), Read32(m + 8)};
        const BmpMasks& k = layout_.masks;
        if (!MaskIsSound(k.red, s.bitCount) || !MaskIsSound(k.green, s.bitCount) ||
            !MaskIsSound(k.blue, s.bitCount) || (k.red & k.green) != 0 || (k.red & k.blue) != 0 ||
            (k.green & k.blue) != 0 || (k.red | k.green | k.blue) == 0) {
            return BmpError::BadData;
        }
    } else if (s.bitCount == 16) {
        layout_.masks = {0x7C00, 0x03E0, 0x001F};
    }

    // The colour table: as many entries as biClrUsed says, never more than the depth can index.
    // A table matters only to paletted pictures; deep ones may announce any count.
    entryBytes_ = kind_ == HeaderKind::Core ? 3 : 4;
    tableEntries_ = 0;
    if (paletted) {
        const uint32_t full = 1u << s.bitCount;
        if (s.clrUsed > full) {
            return BmpError::BadData;
        }
        tableEntries_ = s.clrUsed != 0 ? s.clrUsed : full;
        // OS/2 files often carry fewer colours than the depth allows and say so only by where
        // their pixels start: the table ends there.
        if (kind_ != HeaderKind::Windows && pixelOffset != UINT64_MAX &&
            pixelOffset < headerEnd_ + static_cast<uint64_t>(tableEntries_) * entryBytes_) {
            tableEntries_ = pixelOffset > headerEnd_
                                ? static_cast<uint32_t>((pixelOffset - headerEnd_) / entryBytes_)
                                : 0;
            if (tableEntries_ == 0) {
                return BmpError::BadData;
            }
        }
        if (size - headerEnd_ < static_cast<uint64_t>(tableEntries_) * entryBytes_) {
            return BmpError::BadData;
        }
    }

    // 16-bit and bit-field pixels become 32-bit words; every other depth is kept. A picture past
    // the image limit becomes a scaled image of 32-bit words.
    if (s.width > kMaxSourceSide || height > kMaxSourceSide) {
        return BmpError::BadData;
    }
    layout_.sourceWidth = s.width;
    layout_.sourceHeight = static_cast<int32_t>(height);
    layout_.scaled = !FitsImageLimit(s.width, height);
    int32_t width = s.width;
    int32_t imageHeight = static_cast<int32_t>(height);
    AreaScaler::FitWithin(s.width, height, kMaxImageSide, width, imageHeight);
    const bool widened = s.bitCount == 16 || s.compression == bmp::kBitfields || layout_.scaled;
    const int outBits = widened ? 32 : s.bitCount;
    const int64_t outRow = DibRowBytes(width, outBits);
    const int64_t srcRow = DibRowBytes(s.width, s.bitCount);
    if (outRow <= 0 || srcRow <= 0) {
        return BmpError::BadData;
    }
    // A run-length stream has no rows to seek: a scaled one is decoded whole at its own depth
    // first, which may take no more than the largest image does.
    if (layout_.scaled && (s.compression == bmp::kRle8 || s.compression == bmp::kRle4) &&
        srcRow * height > LimitedSurfaceBytes(kMaxImageSide, kMaxImageSide, 32)) {
        return BmpError::BadData;
    }
    layout_.sourceRowBytes = srcRow;
    layout_.widthBytes = static_cast<int>(outRow);
    layout_.pixelBytes = static_cast<size_t>(outRow * imageHeight);

    BmpInfoHeader& o = layout_.header;
    o.size = bmp::kInfoHeaderBytes;
    o.width = width;
    o.height = imageHeight;
    o.planes = 1;
    o.bitCount = static_cast<uint16_t>(outBits);
    o.compression = bmp::kRgb;
    o.sizeImage = static_cast<uint32_t>(layout_.pixelBytes);
    o.xPelsPerMeter = s.xPelsPerMeter;
    o.yPelsPerMeter = s.yPelsPerMeter;
    palette_.clear();
    if (paletted) {
        palette_.assign(static_cast<size_t>(1) << s.bitCount, BmpColour{0, 0, 0, 0});
        const uint8_t* t = data + headerEnd_;
        for (uint32_t i = 0; i < tableEntries_; ++i) {
            const uint8_t* e = t + static_cast<size_t>(i) * entryBytes_;
            palette_[i] = {e[0], e[1], e[2], 0};
        }
    }
    if (paletted && !layout_.scaled) {
        // A table cut short by the pixels counts its colours like a short Windows table does.
        o.clrUsed = tableEntries_ < (1u << s.bitCount) ? tableEntries_ : s.clrUsed;
        o.clrImportant = s.clrImportant <= tableEntries_ ? s.clrImportant : 0;
        layout_.colours = palette_;
    }
    return BmpError::None;
}

BmpError BmpDecoder::Finish(uint64_t pixelOffset, uint64_t dataEnd) {
    // Pixels may not start inside the header or its masks, nor at or past the end of the data;
    // stored rows must all be there (a compressed stream is measured as it is decoded).
    if (pixelOffset < headerEnd_ || pixelOffset >= dataEnd ||
        (!IsRle() && dataEnd - pixelOffset < StoredPixelBytes())) {
        return BmpError::BadData;
    }
    layout_.pixelOffset = pixelOffset;
    return BmpError::None;
}

bool BmpDecoder::IsRle() const {
    const uint32_t c = layout_.source.compression;
    return c == bmp::kRle8 || c == bmp::kRle4;
}

uint64_t BmpDecoder::StoredPixelBytes() const {
    const uint64_t rows = static_cast<uint64_t>(layout_.sourceHeight);
    if (rows == 0) {
        return 0;
    }
    // Other readers take a file that stops right after the last pixel, without the padding.
    const uint64_t lastRow =
        (static_cast<uint64_t>(layout_.sourceWidth) * layout_.source.bitCount + 7) / 8;
    return (rows - 1) * static_cast<uint64_t>(layout_.sourceRowBytes) + lastRow;
}

BmpError BmpDecoder::Fail(BmpError error) {
    // Only the header as read survives a refusal, for whoever wants to say what was wrong.
    const BmpInfoHeader source = layout_.source;
    layout_ = BmpLayout{};
    layout_.source = source;
    palette_.clear();
    return error;
}

uint64_t BmpDecoder::BytesNeeded(uint64_t fileSize) const {
    const uint64_t height = static_cast<uint64_t>(layout_.sourceHeight);
    uint64_t stream;
    if (IsRle()) {
        // Two bytes a pixel at worst (runs of one), an end of line per row and the end mark.
        stream = 2 * static_cast<uint64_t>(layout_.sourceWidth) * height + 2 * height + 2;
    } else {
        stream = static_cast<uint64_t>(layout_.sourceRowBytes) * height;
    }
    return std::min(fileSize, layout_.pixelOffset + stream);
}

std::vector<uint8_t> BmpDecoder::InfoBlock() const {
    const size_t table = layout_.colours.empty() ? 1 : layout_.colours.size();
    std::vector<uint8_t> block(bmp::kInfoHeaderBytes + table * 4, 0);
    std::memcpy(block.data(), &layout_.header, sizeof layout_.header);
    if (!layout_.colours.empty()) {
        std::memcpy(block.data() + bmp::kInfoHeaderBytes, layout_.colours.data(),
                    layout_.colours.size() * sizeof(BmpColour));
    }
    return block;
}

bool BmpDecoder::Decode(const uint8_t* data, size_t size, uint8_t* out, size_t outBytes) const {
    const bool reached = data != nullptr && layout_.pixelOffset < size;
    return DecodePixels(reached ? data + layout_.pixelOffset : nullptr,
                        reached ? size - static_cast<size_t>(layout_.pixelOffset) : 0, out,
                        outBytes);
}

bool BmpDecoder::DecodePixels(const uint8_t* data, size_t size, uint8_t* out,
                              size_t outBytes) const {
    if (layout_.pixelBytes == 0 || out == nullptr || outBytes < layout_.pixelBytes) {
        return false;
    }
    std::memset(out, 0, layout_.pixelBytes);
    if (data == nullptr || (!IsRle() && size < StoredPixelBytes())) {
        return false;  // the pixel data end before the picture does
    }
    if (layout_.scaled) {
        return DecodeScaled(data, size, out);
    }
    if (IsRle()) {
        return DecodeRle(data, size, out, static_cast<size_t>(layout_.widthBytes));
    }
    if (layout_.source.bitCount == 16 || layout_.source.compression == bmp::kBitfields) {
        DecodeMasked(data, out);
    } else {
        DecodeRows(data, size, out);
    }
    return true;
}

void BmpDecoder::DecodeRows(const uint8_t* data, size_t size, uint8_t* out) const {
    const size_t rows = static_cast<size_t>(layout_.header.height);
    const size_t rowBytes = static_cast<size_t>(layout_.widthBytes);
    for (size_t r = 0; r < rows; ++r) {
        // The last stored row may lack its padding: what there is of it is copied.
        const size_t at = r * rowBytes;
        const size_t target = layout_.topDown ? rows - 1 - r : r;
        std::memcpy(out + target * rowBytes, data + at, std::min(rowBytes, size - at));
    }
}

void BmpDecoder::DecodeMasked(const uint8_t* data, uint8_t* out) const {
    const size_t rows = static_cast<size_t>(layout_.header.height);
    for (size_t r = 0; r < rows; ++r) {
        const size_t target = layout_.topDown ? rows - 1 - r : r;
        ExpandRow(
            data + r * static_cast<size_t>(layout_.sourceRowBytes),
            reinterpret_cast<uint32_t*>(out + target * static_cast<size_t>(layout_.widthBytes)));
    }
}

void BmpDecoder::ExpandRow(const uint8_t* row, uint32_t* to) const {
    const int32_t width = layout_.sourceWidth;
    const int bits = layout_.source.bitCount;
    auto colour = [this](uint32_t index) {
        const BmpColour& c = palette_[index < palette_.size() ? index : 0];
        return static_cast<uint32_t>(c.blue) | static_cast<uint32_t>(c.green) << 8 |
               static_cast<uint32_t>(c.red) << 16;
    };
    if (bits <= 8) {
        const int perByte = 8 / bits;
        const uint32_t mask = (1u << bits) - 1;
        for (int32_t x = 0; x < width; ++x) {
            const int shift = 8 - bits * (x % perByte + 1);
            to[x] = colour((row[x / perByte] >> shift) & mask);
        }
        return;
    }
    if (bits == 16 || layout_.source.compression == bmp::kBitfields) {
        const BmpMasks& m = layout_.masks;
        const size_t step = static_cast<size_t>(bits / 8);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * step;
            const uint32_t pixel = step == 2 ? Read16(p) : Read32(p);
            to[x] = static_cast<uint32_t>(Channel(pixel, m.blue)) |
                    static_cast<uint32_t>(Channel(pixel, m.green)) << 8 |
                    static_cast<uint32_t>(Channel(pixel, m.red)) << 16;
        }
        return;
    }
    const size_t step = static_cast<size_t>(bits / 8);  // 24 or 32 bits: blue, green, red first
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t* p = row + static_cast<size_t>(x) * step;
        to[x] = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                static_cast<uint32_t>(p[2]) << 16;
    }
}

bool BmpDecoder::DecodeScaled(const uint8_t* data, size_t size, uint8_t* out) const {
    const size_t rows = static_cast<size_t>(layout_.sourceHeight);
    const PixelSurface image{out, layout_.header.width, layout_.header.height, layout_.widthBytes,
                             32};
    AreaScaler scaler(layout_.sourceWidth, layout_.sourceHeight, image);
    std::vector<uint32_t> line(static_cast<size_t>(layout_.sourceWidth));
    const size_t rowBytes = static_cast<size_t>(layout_.sourceRowBytes);
    if (IsRle()) {
        // The stream has no rows to seek: its indices are decoded whole first, at their own
        // depth (a byte or half a byte a pixel), then scaled.
        std::vector<uint8_t> indices(rowBytes * rows, 0);
        if (!DecodeRle(data, size, indices.data(), rowBytes)) {
            return false;
        }
        for (size_t t = 0; t < rows; ++t) {
            ExpandRow(indices.data() + (rows - 1 - t) * rowBytes, line.data());
            scaler.AddRow(line.data());
        }
        return true;
    }
    for (size_t t = 0; t < rows; ++t) {
        const size_t stored = layout_.topDown ? t : rows - 1 - t;
        ExpandRow(data + stored * rowBytes, line.data());
        scaler.AddRow(line.data());
    }
    return true;
}

bool BmpDecoder::DecodeRle(const uint8_t* data, size_t size, uint8_t* out, size_t rowBytes) const {
    const bool four = layout_.source.compression == bmp::kRle4;
    const int64_t width = layout_.sourceWidth;
    const int64_t height = layout_.sourceHeight;
    auto put = [&](int64_t x, int64_t y, uint8_t value) {
        uint8_t* row = out + static_cast<size_t>(y) * rowBytes;
        if (!four) {
            row[x] = value;
        } else if ((x & 1) == 0) {
            row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0x0F) | (value << 4));
        } else {
            row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0xF0) | (value & 0x0F));
        }
    };
    uint64_t p = 0;
    int64_t x = 0;
    int64_t y = 0;
    // A stream may end without its end mark once it has reached its last row; one that stops
    // before, or inside a command, is cut short.
    while (p + 2 <= size) {
        const uint8_t count = data[p];
        const uint8_t value = data[p + 1];
        p += 2;
        if (count > 0) {
            if (y >= height || x + count > width) {
                return false;
            }
            for (int i = 0; i < count; ++i) {
                put(x + i, y, four ? ((i & 1) == 0 ? value >> 4 : value & 0x0F) : value);
            }
            x += count;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                if (y >= height) {
                    return false;
                }
                x = 0;
                ++y;
                break;
            case 1:  // end of bitmap
                return true;
            case 2: {  // move right and up
                if (p + 2 > size) {
                    return false;
                }
                const int64_t nx = x + data[p];
                const int64_t ny = y + data[p + 1];
                p += 2;
                if (nx > width || ny >= height) {
                    return false;
                }
                x = nx;
                y = ny;
                break;
            }
            default: {  // a literal run of value pixels, padded to a 16-bit boundary
                const int n = value;
                if (y >= height || x + n > width) {
                    return false;
                }
                const uint64_t bytes = four ? (n + 1) / 2 : n;
                for (int i = 0; i < n; ++i) {
                    const uint64_t at = p + (four ? i / 2 : i);
                    if (at >= size) {
                        return false;
                    }
                    const uint8_t b = data[at];
                    put(x + i, y, four ? ((i & 1) == 0 ? b >> 4 : b & 0x0F) : b);
                }
                x += n;
                p += (bytes + 1) & ~static_cast<uint64_t>(1);
                break;
            }
        }
    }
    return y >= height - 1;
}
