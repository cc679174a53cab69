// The BMP decoder: every accepted variant decoded into the image's bottom-up form, one test for
// each kind of file it refuses, and the boxes a refusal raises.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "base/AreaScaler.h"
#include "base/BmpDecoder.h"
#include "base/ImageLimits.h"
#include "base/ImagingMessages.h"
#include "base/PixelSurface.h"
#include "tests/common/MessageRecorder.h"
#include "resources/TextIds.h"
#include "tests/native/base/BmpWriter.h"
#include "tests/common/BmpRead.h"

namespace {
using Decoded = BmpRead;
Decoded DecodeFile(const std::vector<uint8_t>& file) {
    return ReadBmpBytes(file);
}

BmpError ParseOnly(const std::vector<uint8_t>& file) {
    BmpDecoder decoder;
    return decoder.ParseFile(file.data(), file.size(), file.size());
}

// Decoded pixel (x, y from the top) of a 32-bit result.
uint32_t Pixel32(const Decoded& d, int x, int y) {
    const size_t at =
        static_cast<size_t>(d.layout.header.height - 1 - y) * d.layout.widthBytes + x * 4;
    uint32_t v;
    std::memcpy(&v, d.pixels.data() + at, 4);
    return v;
}
const uint8_t* Row(const Decoded& d, int y) {
    return d.pixels.data() +
           static_cast<size_t>(d.layout.header.height - 1 - y) * d.layout.widthBytes;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> v;
    for (int b : list) {
        v.push_back(static_cast<uint8_t>(b));
    }
    return v;
}

// All pixels index 0 of a full table of distinct colours.
BmpSpec Paletted(int bits, int width, int height) {
    return PatternedPicture(bits, width, height, 0, 0);
}

// An uncompressed picture of bits per pixel with these stored bytes.
BmpSpec Direct(int bits, int width, int height, std::vector<uint8_t> pixels) {
    BmpSpec s;
    s.bitCount = static_cast<uint16_t>(bits);
    s.width = width;
    s.height = height;
    s.pixels = std::move(pixels);
    return s;
}
// Bit fields with these masks.
BmpSpec Fields(BmpSpec s, BmpMasks masks) {
    s.compression = bmp::kBitfields;
    s.writeMasks = true;
    s.masks = masks;
    return s;
}

// The smallest 24-bit file, changed by f before it is written.
template <typename F>
std::vector<uint8_t> Tiny(F f) {
    BmpSpec s;
    s.pixels = Bytes({1, 2, 3, 0});
    f(s);
    return WriteBmp(s);
}
std::vector<uint8_t> Tiny() {
    return Tiny([](BmpSpec&) {});
}

BmpSpec Rle(int bits, int width, int height, std::vector<uint8_t> stream) {
    BmpSpec s = Paletted(bits, width, height);
    s.compression = bits == 8 ? bmp::kRle8 : bmp::kRle4;
    s.pixels = std::move(stream);
    return s;
}
}  // namespace

TEST(BmpAccepted, TwentyFourBit300SquareKeepsItsDepthAndRowsOf900Bytes) {
    BmpSpec s;
    s.width = 300;
    s.height = 300;
    s.pixels.assign(900 * 300, 0);
    // Stored bottom row first: the file's first row is the picture's last.
    s.pixels[0] = 0x11, s.pixels[1] = 0x22, s.pixels[2] = 0x33;
    s.pixels[299 * 900] = 0x44;  // the last stored row starts with the top-left pixel
    const std::vector<uint8_t> file = WriteBmp(s);
    ASSERT_EQ(file.size(), 54u + 270000u);
    const Decoded d = DecodeFile(file);
    ASSERT_EQ(d.error, BmpError::None);
    ASSERT_TRUE(d.decoded);
    EXPECT_EQ(d.layout.pixelOffset, 54u);
    EXPECT_EQ(d.layout.header.bitCount, 24);
    EXPECT_EQ(d.layout.widthBytes, 900);
    EXPECT_EQ(d.layout.header.width, 300);
    EXPECT_EQ(d.layout.header.height, 300);
    EXPECT_EQ(Row(d, 299)[0], 0x11);
    EXPECT_EQ(Row(d, 299)[2], 0x33);
    EXPECT_EQ(Row(d, 0)[0], 0x44);
    EXPECT_EQ(d.info.size(), 44u);  // header and one spare slot
}

TEST(BmpAccepted, FourBit455WideGets228ByteRowsAndItsFullTable) {
    BmpSpec s = Paletted(4, 455, 3);
    s.pixels[0] = 0x5A;  // bottom row: pixels 5 and 10
    const Decoded d = DecodeFile(WriteBmp(s));
    ASSERT_EQ(d.error, BmpError::None);
    ASSERT_TRUE(d.decoded);
    EXPECT_EQ(d.layout.widthBytes, 228);
    EXPECT_EQ(d.layout.header.bitCount, 4);
    ASSERT_EQ(d.layout.colours.size(), 16u);
    EXPECT_EQ(d.layout.colours[15].red, 15 * 16 + 1);
    EXPECT_EQ(d.layout.colours[15].green, 255 - 15);
    EXPECT_EQ(d.layout.colours[15].blue, 15);
    EXPECT_EQ(Row(d, 2)[0], 0x5A);
    ASSERT_EQ(d.info.size(), 40u + 64u);
    EXPECT_EQ(d.info[40 + 4 * 15 + 2], 15 * 16 + 1);  // red of entry 15 in the info block
}

TEST(BmpAccepted, EveryPalettedAndDirectDepthKeepsItsBytes) {
    for (int bits : {1, 4, 8, 24, 32}) {
        const BmpSpec s = PatternedPicture(bits, 9, 4, 7, 3);
        const Decoded d = DecodeFile(WriteBmp(s));
        ASSERT_EQ(d.error, BmpError::None) << bits;
        ASSERT_TRUE(d.decoded);
        EXPECT_EQ(d.layout.header.bitCount, bits);
        EXPECT_EQ(d.layout.header.compression, bmp::kRgb);
        EXPECT_EQ(d.layout.header.size, 40u);
        EXPECT_EQ(d.pixels, s.pixels) << bits;
        EXPECT_EQ(d.layout.colours.size(), bits <= 8 ? (1u << bits) : 0u);
        EXPECT_EQ(d.info.size(), bits <= 8 ? 40u + 4u * (1u << bits) : 44u);
    }
}

TEST(BmpAccepted, TopDownRowsComeOutBottomUpWithPositiveHeight) {
    // Stored top row first.
    const BmpSpec s = Direct(
        32, 2, -3, Bytes({1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0}));
    const Decoded d = DecodeFile(WriteBmp(s));
    ASSERT_EQ(d.error, BmpError::None);
    EXPECT_TRUE(d.layout.topDown);
    EXPECT_EQ(d.layout.header.height, 3);
    EXPECT_EQ(Pixel32(d, 0, 0), 1u);
    EXPECT_EQ(Pixel32(d, 1, 0), 2u);
    EXPECT_EQ(Pixel32(d, 0, 2), 5u);
    EXPECT_EQ(Pixel32(d, 1, 2), 6u);
}

TEST(BmpAccepted, SixteenBitFiveFiveFiveWidensToThirtyTwoBits) {
    // 0x7FFF white, 0x7C00 red, 0x0010 blue half-way; row padded to 8 bytes.
    const BmpSpec s = Direct(16, 3, 1, Bytes({0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x00, 0, 0}));
    const Decoded d = DecodeFile(WriteBmp(s));
    ASSERT_EQ(d.error, BmpError::None);
    EXPECT_EQ(d.layout.header.bitCount, 32);
    EXPECT_EQ(d.layout.widthBytes, 12);
    EXPECT_EQ(Pixel32(d, 0, 0), 0x00FFFFFFu);
    EXPECT_EQ(Pixel32(d, 1, 0), 0x00FF0000u);
    EXPECT_EQ(Pixel32(d, 2, 0), 0x00000084u);  // 16 of 31 is 131.6 of 255
    EXPECT_EQ(d.info.size(), 44u);
}

TEST(BmpAccepted, BitFieldsAfterAFortyByteHeaderAndInsideV4AndV5Headers) {
    // 5-6-5 after a 40-byte header.
    // Green, then red + blue.
    const BmpSpec s =
        Fields(Direct(16, 2, 1, Bytes({0xE0, 0x07, 0x1F, 0xF8})), {0xF800, 0x07E0, 0x001F});
    Decoded d = DecodeFile(WriteBmp(s));
    ASSERT_EQ(d.error, BmpError::None);
    EXPECT_EQ(d.layout.pixelOffset, 14u + 40u + 12u);
    EXPECT_EQ(Pixel32(d, 0, 0), 0x0000FF00u);
    EXPECT_EQ(Pixel32(d, 1, 0), 0x00FF00FFu);
    // 32-bit with the channels in an unusual order, in V4 and V5 headers.
    for (uint32_t header : {bmp::kV4HeaderBytes, bmp::kV5HeaderBytes}) {
        // Red in the low byte.
        BmpSpec v = Fields(Direct(32, 1, 1, Bytes({0x10, 0x20, 0x30, 0x99})),
                           {0x000000FF, 0x0000FF00, 0x00FF0000});
        v.headerSize = header;
        d = DecodeFile(WriteBmp(v));
        ASSERT_EQ(d.error, BmpError::None) << header;
        EXPECT_EQ(d.layout.pixelOffset, 14u + header);
        EXPECT_EQ(d.layout.header.size, 40u);
        EXPECT_EQ(Pixel32(d, 0, 0), 0x00102030u) << header;
    }
}

TEST(BmpAccepted, V5HeaderWithTableAfterItsOwnSize) {
    BmpSpec s = Paletted(8, 4, 1);
    s.headerSize = bmp::kV5HeaderBytes;
    s.clrUsed = 3;
    s.colours = RampColours(3);
    s.pixels = Bytes({0, 1, 2, 200});
    const Decoded d = DecodeFile(WriteBmp(s));
    ASSERT_EQ(d.error, BmpError::None);
    EXPECT_EQ(d.layout.pixelOffset, 14u + 124u + 12u);
    EXPECT_EQ(d.layout.header.clrUsed, 3u);
    ASSERT_EQ(d.layout.colours.size(), 256u);
    EXPECT_EQ(d.layout.colours[2].red, 33);
    // An index beyond the three given colours reads as black.
    EXPECT_EQ(d.layout.colours[200].red, 0);
    EXPECT_EQ(d.layout.colours[200].green, 0);
    EXPECT_EQ(d.layout.colours[200].blue, 0);
    EXPECT_EQ(Row(d, 0)[3], 200);
}

TEST(BmpAccepted, RleEightRunsLiteralsDeltasAndLineEnds) {
    // Row 0 (bottom): 3 x 7, literal 1 2 3 (padded), end of line.
    // Row 1: delta (2, 0), run 2 x 9, end of bitmap. Row 2 untouched.
    const std::vector<uint8_t> stream =
        Bytes({3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 2, 9, 0, 1});
    const Decoded d = DecodeFile(WriteBmp(Rle(8, 6, 3, stream)));
    ASSERT_EQ(d.error, BmpError::None);
    ASSERT_TRUE(d.decoded);
    EXPECT_EQ(d.layout.header.bitCount, 8);
    EXPECT_EQ(d.layout.header.compression, bmp::kRgb);
    EXPECT_EQ(d.layout.widthBytes, 8);
    const std::vector<uint8_t> bottom(Row(d, 2), Row(d, 2) + 6);
    const std::vector<uint8_t> middle(Row(d, 1), Row(d, 1) + 6);
    const std::vector<uint8_t> top(Row(d, 0), Row(d, 0) + 6);
    EXPECT_EQ(bottom, Bytes({7, 7, 7, 1, 2, 3}));
    EXPECT_EQ(middle, Bytes({0, 0, 9, 9, 0, 0}));
    EXPECT_EQ(top, Bytes({0, 0, 0, 0, 0, 0}));
}

TEST(BmpAccepted, RleFourAlternatesNibblesInRunsAndLiterals) {
    // Row 0: 5 pixels alternating 1,2 then literal of 3 nibbles 4 5 6 (2 bytes, already even).
    const std::vector<uint8_t> stream = Bytes({5, 0x12, 0, 3, 0x45, 0x60, 0, 1});
    const Decoded d = DecodeFile(WriteBmp(Rle(4, 8, 1, stream)));
    ASSERT_EQ(d.error, BmpError::None);
    ASSERT_TRUE(d.decoded);
    EXPECT_EQ(d.layout.header.bitCount, 4);
    const std::vector<uint8_t> row(Row(d, 0), Row(d, 0) + 4);
    EXPECT_EQ(row, Bytes({0x12, 0x12, 0x14, 0x56}));
}

// Pixel data that end before the picture does are damage, not a picture: refused when the file
// says so at once, and when a read brings less than the file promised. Only the last row's
// padding may be missing, as other readers allow.
TEST(BmpRefused, PixelDataThatEndBeforeThePictureDoes) {
    const std::vector<uint8_t> file =
        WriteBmp(Direct(32, 2, 2, Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})));
    struct Cut {
        const char* what;
        std::vector<uint8_t> file;
    } cuts[] = {
        {"two bytes into the top row", {file.begin(), file.end() - 6}},
        {"one byte short", {file.begin(), file.end() - 1}},
        {"a run-length stream that stops before its last row",
         WriteBmp(Rle(8, 4, 3, Bytes({2, 5, 0, 0})))},
        {"a literal run cut short", WriteBmp(Rle(8, 4, 2, Bytes({0, 4, 1, 2})))},
        {"a move cut short", WriteBmp(Rle(8, 4, 2, Bytes({0, 2, 1})))},
    };
    for (const Cut& c : cuts) {
        const Decoded d = DecodeFile(c.file);
        EXPECT_TRUE(d.error == BmpError::BadData || !d.decoded) << c.what;
    }
    // Uncompressed ones are refused by the header's own sums, before anything is read.
    EXPECT_EQ(ParseOnly(cuts[0].file), BmpError::BadData);
    // A read that brings less than the file's length promised.
    BmpDecoder decoder;
    ASSERT_EQ(decoder.ParseFile(file.data(), file.size(), file.size()), BmpError::None);
    std::vector<uint8_t> out(decoder.Layout().pixelBytes);
    EXPECT_FALSE(decoder.Decode(file.data(), file.size() - 1, out.data(), out.size()));
    // A run-length stream that ends on its last row without the end mark is whole.
    const Decoded r = DecodeFile(WriteBmp(Rle(8, 4, 2, Bytes({2, 5, 0, 0, 4, 6}))));
    ASSERT_EQ(r.error, BmpError::None);
    ASSERT_TRUE(r.decoded);
    EXPECT_EQ(std::vector<uint8_t>(Row(r, 1), Row(r, 1) + 4), Bytes({5, 5, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(Row(r, 0), Row(r, 0) + 4), Bytes({6, 6, 6, 6}));
}

TEST(BmpAccepted, EveryTruncationIsRefusedButOfTheLastRowsPadding) {
    BmpSpec s = Paletted(8, 3, 2);
    s.pixels = Bytes({1, 2, 3, 0, 4, 5, 6, 0});
    const std::vector<uint8_t> file = WriteBmp(s);
    const size_t whole = file.size();
    for (size_t len = 0; len <= whole; ++len) {
        const std::vector<uint8_t> cut(file.begin(), file.begin() + len);
        BmpDecoder decoder;
        const BmpError e = decoder.ParseFile(cut.data(), cut.size(), cut.size());
        if (len < 2) {
            EXPECT_EQ(e, BmpError::NotBitmap) << len;
        } else if (len < whole - 1) {
            EXPECT_EQ(e, BmpError::BadData) << len;
        } else {
            // Whole, or short of the one padding byte of the top row.
            ASSERT_EQ(e, BmpError::None) << len;
            std::vector<uint8_t> out(decoder.Layout().pixelBytes, 0xCD);
            ASSERT_TRUE(decoder.Decode(cut.data(), cut.size(), out.data(), out.size()));
            EXPECT_EQ(out, s.pixels) << len;
        }
    }
}

TEST(BmpAccepted, PackedDibAsResourcesHoldThem) {
    BmpSpec s = Paletted(4, 16, 2);
    s.pixels[0] = 0xF0;
    const std::vector<uint8_t> dib = WriteDib(s);
    BmpDecoder decoder;
    ASSERT_EQ(decoder.ParseDib(dib.data(), dib.size()), BmpError::None);
    EXPECT_EQ(decoder.Layout().pixelOffset, 40u + 64u);
    std::vector<uint8_t> out(decoder.Layout().pixelBytes);
    ASSERT_TRUE(decoder.Decode(dib.data(), dib.size(), out.data(), out.size()));
    EXPECT_EQ(out[0], 0xF0);
    // The same bytes are no file.
    EXPECT_EQ(decoder.ParseFile(dib.data(), dib.size(), dib.size()), BmpError::NotBitmap);
    // A DIB whose table runs past its end is refused.
    EXPECT_EQ(decoder.ParseDib(dib.data(), 40 + 60), BmpError::BadData);
}

TEST(BmpAccepted, PixelDataAloneDecodesAsTheWholeFile) {
    BmpSpec rows = PatternedPicture(8, 5, 3, 11, 1);
    rows.offBits = 14 + 40 + 1024 + 300;  // a gap before the pixels
    rows.pixels.insert(rows.pixels.begin(), 300, 0xEE);
    const BmpSpec masked =
        Direct(16, 2, -2, Bytes({0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}));
    const BmpSpec rle = Rle(4, 8, 2, Bytes({5, 0x12, 0, 3, 0x45, 0x60, 0, 0, 0, 2, 1, 0, 0, 1}));
    for (const BmpSpec& s : {rows, masked, rle}) {
        const std::vector<uint8_t> file = WriteBmp(s);
        const Decoded whole = DecodeFile(file);
        ASSERT_EQ(whole.error, BmpError::None);
        ASSERT_TRUE(whole.decoded);
        BmpDecoder decoder;
        ASSERT_EQ(decoder.ParseFile(file.data(), file.size(), file.size()), BmpError::None);
        const size_t start = static_cast<size_t>(decoder.Layout().pixelOffset);
        // Only the pixel data, in a buffer of its own.
        const std::vector<uint8_t> pixels(file.begin() + static_cast<ptrdiff_t>(start), file.end());
        std::vector<uint8_t> out(decoder.Layout().pixelBytes, 0xCD);
        ASSERT_TRUE(decoder.DecodePixels(pixels.data(), pixels.size(), out.data(), out.size()));
        EXPECT_EQ(out, whole.pixels) << s.bitCount;
    }
    EXPECT_EQ(Row(DecodeFile(WriteBmp(rows)), 2)[0], 1);  // the gap is not taken for pixels
}

TEST(BmpAccepted, BytesNeededStopsAtThePixelsOrTheFile) {
    std::vector<uint8_t> file = WriteBmp(Direct(24, 10, 4, std::vector<uint8_t>(32 * 4, 0)));
    file.resize(file.size() + 1000, 0xEE);  // trailing bytes nobody needs
    BmpDecoder decoder;
    ASSERT_EQ(decoder.ParseFile(file.data(), 200, file.size()), BmpError::None);
    EXPECT_EQ(decoder.BytesNeeded(file.size()), 54u + 128u);
    EXPECT_EQ(decoder.BytesNeeded(100), 100u);
}

// --- Pictures past the image limit: scaled down by area averaging as they are decoded. ---

TEST(BmpScaled, FittedSizesKeepTheProportionsWithTheLongerSideAtTheLimit) {
    const int64_t sizes[][4] = {{8000, 6000, 4096, 3072}, {6000, 4000, 4096, 2731},
                                {4000, 6000, 2731, 4096}, {4097, 1, 4096, 1},
                                {1, 5000, 1, 4096},       {20000, 300, 4096, 61},
                                {4096, 4096, 4096, 4096}, {640, 480, 640, 480}};
    for (const auto& z : sizes) {
        int32_t w = 0;
        int32_t h = 0;
        AreaScaler::FitWithin(z[0], z[1], kMaxImageSide, w, h);
        EXPECT_EQ(w, z[2]) << z[0] << "x" << z[1];
        EXPECT_EQ(h, z[3]) << z[0] << "x" << z[1];
    }
}

// The mean of the source area each image pixel covers, worked out the slow way: each source
// pixel weighted by the length of its overlap, in doubles.
double AreaMean(const std::vector<double>& source, int sw, int sh, int dw, int dh, int x, int y) {
    const double sx = static_cast<double>(sw) / dw;
    const double sy = static_cast<double>(sh) / dh;
    double sum = 0;
    for (int j = 0; j < sh; ++j) {
        const double oy = std::min(j + 1.0, (y + 1) * sy) - std::max(j + 0.0, y * sy);
        for (int i = 0; oy > 0 && i < sw; ++i) {
            const double ox = std::min(i + 1.0, (x + 1) * sx) - std::max(i + 0.0, x * sx);
            if (ox > 0) {
                sum += source[static_cast<size_t>(j) * sw + i] * ox * oy;
            }
        }
    }
    return sum / (sx * sy);
}

TEST(BmpScaled, ALargePictureComesOutAtTheLimitWithEachPixelTheMeanOfItsArea) {
    // 5000 x 7, 24 bits, top-down: the blue channel a pattern, green its inverse, red flat.
    const int sw = 5000;
    const int sh = 7;
    BmpSpec s;
    s.width = sw;
    s.height = -sh;
    s.pixels.assign(static_cast<size_t>(DibRowBytes(sw, 24)) * sh, 0);
    std::vector<double> blue(static_cast<size_t>(sw) * sh);
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x) {
            const uint8_t v = static_cast<uint8_t>((x * 37 + y * 101) % 256);
            blue[static_cast<size_t>(y) * sw + x] = v;
            uint8_t* p = &s.pixels[static_cast<size_t>(y) * DibRowBytes(sw, 24) + x * 3];
            p[0] = v;
            p[1] = static_cast<uint8_t>(255 - v);
            p[2] = 200;
        }
    }
    const Decoded d = DecodeFile(WriteBmp(s));
    ASSERT_EQ(d.error, BmpError::None);
    ASSERT_TRUE(d.decoded);
    EXPECT_TRUE(d.layout.scaled);
    EXPECT_EQ(d.layout.sourceWidth, sw);
    EXPECT_EQ(d.layout.sourceHeight, sh);
    const int dw = d.layout.header.width;
    const int dh = d.layout.header.height;
    EXPECT_EQ(dw, 4096);
    EXPECT_EQ(dh, 6);  // 7 x 4096 / 5000 = 5.7
    EXPECT_EQ(d.layout.header.bitCount, 32);
    EXPECT_TRUE(d.layout.colours.empty());
    EXPECT_EQ(d.info.size(), 44u);
    int wrong = 0;
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; x += 7) {
            const uint32_t p = Pixel32(d, x, y);
            const double mean = AreaMean(blue, sw, sh, dw, dh, x, y);
            wrong += std::abs(static_cast<double>(p & 0xFF) - mean) > 0.51 ? 1 : 0;
            // Green is 255 - blue everywhere, so its mean is too (give or take the rounding).
            wrong +=
                std::abs(static_cast<int>((p >> 8) & 0xFF) + static_cast<int>(p & 0xFF) - 255) > 1
                    ? 1
                    : 0;
            wrong += ((p >> 16) & 0xFF) != 200 ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(BmpScaled, PalettedAndRunLengthPicturesAverageTheirColours) {
    // 8192 x 4 at 8 bits, each 2 x 2 block two colours: the image pixel is their mean.
    BmpSpec rows = Paletted(8, 8192, 4);
    for (size_t i = 0; i < rows.pixels.size(); ++i) {
        rows.pixels[i] = static_cast<uint8_t>((i % 8192) % 2 == 0 ? 10 : 30);
    }
    // The same as a run-length stream: per row 64 runs of 128 pixels alternating 10 and 30 would
    // differ, so runs of one pixel each, written as pairs (1, 10), (1, 30).
    std::vector<uint8_t> stream;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8192; x += 2) {
            stream.insert(stream.end(), {1, 10, 1, 30});
        }
        stream.insert(stream.end(), {0, 0});
    }
    stream.insert(stream.end(), {0, 1});
    BmpSpec rle = Rle(8, 8192, 4, stream);
    for (const BmpSpec& s : {rows, rle}) {
        const Decoded d = DecodeFile(WriteBmp(s));
        ASSERT_EQ(d.error, BmpError::None) << s.compression;
        ASSERT_TRUE(d.decoded) << s.compression;
        ASSERT_EQ(d.layout.header.width, 4096);
        ASSERT_EQ(d.layout.header.height, 2);
        const BmpColour a = s.colours[10];
        const BmpColour b = s.colours[30];
        const uint32_t mean = static_cast<uint32_t>((a.blue + b.blue + 1) / 2) |
                              static_cast<uint32_t>((a.green + b.green + 1) / 2) << 8 |
                              static_cast<uint32_t>((a.red + b.red + 1) / 2) << 16;
        int wrong = 0;
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 4096; ++x) {
                wrong += Pixel32(d, x, y) != mean ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << s.compression;
    }
}

TEST(BmpScaled, APictureThinAfterScalingKeepsItsThinSideAndPastTheSourceLimitIsRefused) {
    BmpSpec thin = Paletted(1, 20000, 300);
    const Decoded d = DecodeFile(WriteBmp(thin));
    ASSERT_EQ(d.error, BmpError::None);
    EXPECT_EQ(d.layout.header.width, 4096);
    EXPECT_EQ(d.layout.header.height, 61);  // under the field's 200: the loader says too low
    BmpSpec past = Paletted(1, 1, 1);
    past.width = kMaxSourceSide + 1;
    EXPECT_EQ(ParseOnly(WriteBmp(past)), BmpError::BadData);
    // A run-length picture is decoded whole before it is scaled: no larger than the largest
    // image (64 MiB of indices), whatever its stream says.
    BmpSpec rle = Rle(8, 8192, 8192, Bytes({0, 1}));
    EXPECT_EQ(ParseOnly(WriteBmp(rle)), BmpError::None);
    rle.height = 8193;
    EXPECT_EQ(ParseOnly(WriteBmp(rle)), BmpError::BadData);
}

TEST(BmpRefused, NotStartingWithBMIsNoBitmap) {
    EXPECT_EQ(ParseOnly({}), BmpError::NotBitmap);
    EXPECT_EQ(ParseOnly(Bytes({'B'})), BmpError::NotBitmap);
    EXPECT_EQ(ParseOnly(Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10})), BmpError::NotBitmap);
    std::vector<uint8_t> file = Tiny();
    file[1] = 'A';
    EXPECT_EQ(ParseOnly(file), BmpError::NotBitmap);
}

TEST(BmpRefused, TruncatedFileOrInfoHeader) {
    const std::vector<uint8_t> file = Tiny();
    for (size_t len : {2u, 13u, 14u, 17u, 18u, 53u}) {
        EXPECT_EQ(ParseOnly(std::vector<uint8_t>(file.begin(), file.begin() + len)),
                  BmpError::BadData)
            << len;
    }
    BmpSpec v4;
    v4.headerSize = bmp::kV4HeaderBytes;
    v4.pixels = Bytes({1, 2, 3, 0});
    const std::vector<uint8_t> f4 = WriteBmp(v4);
    EXPECT_EQ(ParseOnly(std::vector<uint8_t>(f4.begin(), f4.begin() + 14 + 100)),
              BmpError::BadData);
}

TEST(BmpRefused, UnknownHeaderSizes) {
    // Neither Windows (40, 108, 124), OS/2 1.x (12) nor an OS/2 2.x cut (16 to 64 on a whole
    // field).
    for (uint32_t size :
         {0u, 4u, 11u, 13u, 14u, 15u, 18u, 39u, 41u, 50u, 65u, 68u, 100u, 125u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> file = Tiny();
        file.resize(file.size() + 200, 0);
        PutLe(file, 14, size, 4);
        EXPECT_EQ(ParseOnly(file), BmpError::BadData) << size;
    }
}

// One header field out of its range in the smallest file: refused before anything is read.
TEST(BmpRefused, HeaderFieldsOutOfTheirRange) {
    struct Field {
        const char* name;
        void (*set)(BmpSpec&, int64_t);
        std::vector<int64_t> values;
    } fields[] = {
        {"width",
         [](BmpSpec& s, int64_t v) { s.width = static_cast<int32_t>(v); },
         {0, -1, -300, INT32_MIN}},
        {"height",
         [](BmpSpec& s, int64_t v) { s.height = static_cast<int32_t>(v); },
         {0, INT32_MIN}},
        {"bit count",
         [](BmpSpec& s, int64_t v) { s.bitCount = static_cast<uint16_t>(v); },
         {0, 2, 7, 12, 15, 48, 64}},
        {"planes", [](BmpSpec& s, int64_t v) { s.planes = static_cast<uint16_t>(v); }, {0, 2, 3}},
        {"compression",
         [](BmpSpec& s, int64_t v) { s.compression = static_cast<uint32_t>(v); },
         {4, 5, 6, 11, 0x80000000}},
        // Past the end, inside the header, or leaving less than the one pixel's three bytes.
        {"pixel offset",
         [](BmpSpec& s, int64_t v) { s.offBits = v; },
         {58, 59, 1000, 0xFFFFFFFF, 0, 14, 53, 56, 57}},
    };
    for (const Field& f : fields) {
        for (int64_t v : f.values) {
            EXPECT_EQ(ParseOnly(Tiny([&](BmpSpec& s) { f.set(s, v); })), BmpError::BadData)
                << f.name << " " << v;
        }
    }
    // The one pixel's three bytes are there, the row's padding byte is not: still a picture.
    EXPECT_EQ(ParseOnly(Tiny([](BmpSpec& s) { s.offBits = 55; })), BmpError::None);
    // Bit fields: the masks are header too.
    BmpSpec masked = Fields(Direct(32, 1, 1, Bytes({1, 2, 3, 0})), {0xFF0000, 0xFF00, 0xFF});
    masked.offBits = 60;
    EXPECT_EQ(ParseOnly(WriteBmp(masked)), BmpError::BadData);
}

// Absurd sizes, and large ones whose pixels the file does not hold, before anything is read.
TEST(BmpRefused, AbsurdSizesAndLargeOnesWithoutTheirPixels) {
    const int32_t sizes[][3] = {{3000000, 2000000, 24},
                                {INT32_MAX, 1, 32},
                                {1, INT32_MAX, 1},
                                {9000, 9000, 8},
                                {4097, 1, 32},
                                {1, 4097, 8},
                                {4096, -4097, 32},
                                {70000, 70000, 1},
                                // 64 MiB of 1-bit rows that would be 2 GiB at 32 bits
                                {536870912, 1, 1}};
    for (const auto& z : sizes) {
        BmpSpec s;
        s.width = z[0];
        s.height = z[1];
        s.bitCount = static_cast<uint16_t>(z[2]);
        if (z[2] == 1) {
            s.colours = RampColours(2);
        }
        s.pixels = Bytes({1, 2, 3, 4});
        EXPECT_EQ(ParseOnly(WriteBmp(s)), BmpError::BadData) << z[0] << "x" << z[1];
    }
    // A side of exactly the limit, either way up, is still a picture as it is.
    for (int32_t height : {4096, -4096}) {
        BmpSpec edge = Paletted(1, 4096, 4096);
        edge.height = height;
        const Decoded d = DecodeFile(WriteBmp(edge));
        EXPECT_EQ(d.error, BmpError::None) << height;
        EXPECT_FALSE(d.layout.scaled) << height;
    }
}

TEST(BmpRefused, CompressionsThatDoNotFitTheDepth) {
    BmpSpec rle8on4 = Rle(4, 2, 1, Bytes({2, 1, 0, 1}));
    rle8on4.compression = bmp::kRle8;
    EXPECT_EQ(ParseOnly(WriteBmp(rle8on4)), BmpError::BadData);
    BmpSpec rle4on8 = Rle(8, 2, 1, Bytes({2, 1, 0, 1}));
    rle4on8.compression = bmp::kRle4;
    EXPECT_EQ(ParseOnly(WriteBmp(rle4on8)), BmpError::BadData);
    EXPECT_EQ(ParseOnly(WriteBmp(
                  Fields(Direct(24, 1, 1, Bytes({1, 2, 3, 0})), {0xFF0000, 0xFF00, 0xFF}))),
              BmpError::BadData);
}

TEST(BmpRefused, PaletteSizesThatLieOrRunPastTheFile) {
    BmpSpec tooMany = Paletted(4, 2, 1);
    tooMany.clrUsed = 17;
    EXPECT_EQ(ParseOnly(WriteBmp(tooMany)), BmpError::BadData);
    BmpSpec huge = Paletted(8, 2, 1);
    huge.clrUsed = 0xFFFFFFFFu;
    EXPECT_EQ(ParseOnly(WriteBmp(huge)), BmpError::BadData);
    BmpSpec mono = Paletted(1, 2, 1);
    mono.clrUsed = 3;
    EXPECT_EQ(ParseOnly(WriteBmp(mono)), BmpError::BadData);
    // The header promises 256 colours; the file ends after 10 of them.
    BmpSpec cut = Paletted(8, 2, 1);
    std::vector<uint8_t> file = WriteBmp(cut);
    file.resize(14 + 40 + 40);
    EXPECT_EQ(ParseOnly(file), BmpError::BadData);
}

TEST(BmpRefused, MasksThatAreMissingOverlapOrAreNotOneBlock) {
    BmpSpec s = Fields(Direct(16, 1, 1, Bytes({1, 2, 3, 4})), {0xF800, 0x07E0, 0x001F});
    std::vector<uint8_t> file = WriteBmp(s);
    EXPECT_EQ(ParseOnly(std::vector<uint8_t>(file.begin(), file.begin() + 14 + 40 + 8)),
              BmpError::BadData);
    const BmpMasks bad[] = {{0xF800, 0x0FE0, 0x001F},  // red and green overlap
                            {0xF000, 0x07E0, 0x801F},  // blue not one block
                            {0x1F0000, 0x07E0, 0x1F},  // red beyond 16 bits
                            {0, 0, 0}};
    for (const BmpMasks& m : bad) {
        s.masks = m;
        EXPECT_EQ(ParseOnly(WriteBmp(s)), BmpError::BadData) << m.red << " " << m.blue;
    }
}

TEST(BmpRefused, CompressedPicturesStoredTopDown) {
    BmpSpec s = Rle(8, 2, 2, Bytes({2, 1, 0, 1}));
    s.height = -2;
    EXPECT_EQ(ParseOnly(WriteBmp(s)), BmpError::BadData);
}

TEST(BmpRefused, RunsAndDeltasThatLeaveTheRowOrTheImage) {
    const std::vector<uint8_t> streams[] = {
        Bytes({5, 1, 0, 1}),                    // run of 5 in a row of 4
        Bytes({2, 1, 3, 1, 0, 1}),              // second run crosses the row end
        Bytes({0, 5, 1, 2, 3, 4, 5, 0, 0, 1}),  // literal of 5 in a row of 4
        Bytes({0, 2, 5, 0, 0, 1}),              // delta right past the row
        Bytes({0, 2, 0, 2, 0, 1}),              // delta up past the top row
        Bytes({0, 0, 0, 0, 1, 1, 0, 1}),        // a run after the last row ended
        Bytes({0, 0, 0, 0, 0, 0}),              // an end of line past the last row
    };
    for (const auto& stream : streams) {
        const Decoded d = DecodeFile(WriteBmp(Rle(8, 4, 2, stream)));
        ASSERT_EQ(d.error, BmpError::None);  // the header is fine: the stream is found out late
        EXPECT_FALSE(d.decoded) << static_cast<int>(stream[0]) << " "
                                << static_cast<int>(stream[1]);
    }
    const Decoded four = DecodeFile(WriteBmp(Rle(4, 3, 1, Bytes({4, 0x11, 0, 1}))));
    EXPECT_FALSE(four.decoded);
    // Runs that exactly fill rows, and a delta to the row end, are fine.
    const Decoded exact = DecodeFile(WriteBmp(Rle(8, 4, 2, Bytes({4, 1, 0, 0, 0, 2, 4, 0, 0, 1}))));
    EXPECT_TRUE(exact.decoded);
}

TEST(BmpRefused, DecodingIntoTooSmallABufferWritesNothing) {
    const std::vector<uint8_t> file = Tiny([](BmpSpec& s) {
        s.width = 2;
        s.pixels = Bytes({1, 2, 3, 4, 5, 6, 0, 0});
    });
    BmpDecoder decoder;
    ASSERT_EQ(decoder.ParseFile(file.data(), file.size(), file.size()), BmpError::None);
    std::vector<uint8_t> small(decoder.Layout().pixelBytes - 1, 0xAB);
    EXPECT_FALSE(decoder.Decode(file.data(), file.size(), small.data(), small.size()));
    EXPECT_EQ(small, std::vector<uint8_t>(small.size(), 0xAB));
}

TEST(BmpMessages, EachRefusalRaisesItsExactBox) {
    MessageRecorder recorder;
    ReportBmpError(BmpError::None, BmpSource::File);
    EXPECT_EQ(recorder.size(), 0u);
    ReportBmpError(BmpError::NotBitmap, BmpSource::File);
    ReportBmpError(BmpError::BadData, BmpSource::File);
    ReportBmpError(BmpError::BadData, BmpSource::Resource);
    ASSERT_EQ(recorder.size(), 3u);
    recorder.ExpectAt(0, IDS_NOT_BITMAP, IDS_NOT_BITMAP_CAPTION, mb::kOk | mb::kIconWarning);
    recorder.ExpectAt(1, IDS_BAD_BITMAP, IDS_BAD_BITMAP_CAPTION, mb::kOk | mb::kIconError);
    recorder.ExpectAt(2, IDS_BAD_BITMAP, IDS_BAD_RESOURCE_CAPTION, mb::kOk | mb::kIconError);
}
