// OS/2 bitmaps of both generations decode like their Windows twins, deep pictures load whatever
// colour count they announce, and the one size limit holds at its edge and refuses one past it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/BmpDecoder.h"
#include "base/ImageLimits.h"
#include "tests/common/BmpRead.h"
#include "tests/native/base/BmpWriter.h"

namespace {
using Result = BmpRead;
Result ReadFile(const std::vector<uint8_t>& file) {
    return ReadBmpBytes(file);
}
Result ReadDib(const std::vector<uint8_t>& dib) {
    return ReadBmpBytes(dib, true);
}
// What follows the 40-byte header in the image's info block: the colour table or spare slot.
std::vector<uint8_t> Table(const Result& r) {
    return {r.info.begin() + bmp::kInfoHeaderBytes, r.info.end()};
}

// A picture whose stored bytes follow a pattern, with a full table of distinct colours when it
// has one.
BmpSpec Picture(int bits, int width, int height) {
    return PatternedPicture(bits, width, height, 29, 5);
}
BmpSpec WithHeader(BmpSpec s, uint32_t headerSize) {
    s.headerSize = headerSize;
    return s;
}

// Everything the image takes from a decoded picture is the same as from its twin.
void ExpectTwins(const Result& os2, const Result& windows, const std::string& what) {
    ASSERT_EQ(windows.error, BmpError::None) << what;
    ASSERT_EQ(os2.error, BmpError::None) << what;
    ASSERT_TRUE(os2.decoded) << what;
    EXPECT_EQ(os2.layout.header.width, windows.layout.header.width) << what;
    EXPECT_EQ(os2.layout.header.height, windows.layout.header.height) << what;
    EXPECT_EQ(os2.layout.header.bitCount, windows.layout.header.bitCount) << what;
    EXPECT_EQ(os2.layout.header.clrUsed, windows.layout.header.clrUsed) << what;
    EXPECT_EQ(os2.layout.widthBytes, windows.layout.widthBytes) << what;
    EXPECT_EQ(os2.pixels, windows.pixels) << what;
    EXPECT_EQ(Table(os2), Table(windows)) << what;
}

// A palette of n colours in a picture that only uses the first n indices.
BmpSpec ShortPalette(uint32_t headerSize, int n) {
    BmpSpec s = Picture(8, 6, 3);
    s.headerSize = headerSize;
    s.colours.resize(static_cast<size_t>(n));
    for (size_t i = 0; i < s.pixels.size(); ++i) {
        s.pixels[i] = static_cast<uint8_t>(i % static_cast<size_t>(n));
    }
    return s;
}
}  // namespace

TEST(BmpOs2, FirstGenerationFilesOfEveryDepthDecodeLikeTheirWindowsTwins) {
    for (int bits : {1, 4, 8, 24}) {
        const BmpSpec s = Picture(bits, 13, 5);
        const Result windows = ReadFile(WriteBmp(s));
        const Result os2 = ReadFile(WriteBmp(WithHeader(s, bmp::kCoreHeaderBytes)));
        ExpectTwins(os2, windows, std::to_string(bits) + " bits");
        EXPECT_EQ(os2.layout.source.size, 12u);
        // Three bytes a colour: the pixels follow the 12-byte header and a table of 3 x 2^bits.
        const uint64_t table = bits <= 8 ? 3u << bits : 0u;
        EXPECT_EQ(os2.layout.pixelOffset, 14u + 12u + table) << bits;
    }
}

TEST(BmpOs2, SecondGenerationFullAndShortHeadersDecodeLikeTheirWindowsTwins) {
    // The full 64 bytes, the 16-byte short form, and cuts after other fields. In the shorter
    // ones the colour table starts where a field would be, so a field read past the header's own
    // size would take colour bytes for a compression or a colour count.
    for (uint32_t size : {64u, 16u, 20u, 24u, 36u, 42u, 46u, 48u, 60u}) {
        for (int bits : {1, 4, 8, 24}) {
            const BmpSpec s = Picture(bits, 11, 4);
            const Result windows = ReadFile(WriteBmp(s));
            const Result os2 = ReadFile(WriteBmp(WithHeader(s, size)));
            ExpectTwins(os2, windows, std::to_string(size) + " bytes, " + std::to_string(bits));
            EXPECT_EQ(os2.layout.pixelOffset, 14u + size + (bits <= 8 ? 4u << bits : 0u));
        }
    }
}

TEST(BmpOs2, ShortPalettesEndWhereThePixelsStart) {
    // The Windows twin says "20 colours" in its header; the OS/2 files say it only by where their
    // pixels begin.
    BmpSpec twin = ShortPalette(bmp::kInfoHeaderBytes, 20);
    twin.clrUsed = 20;
    const Result windows = ReadFile(WriteBmp(twin));
    ASSERT_EQ(windows.layout.header.clrUsed, 20u);
    for (uint32_t size : {bmp::kCoreHeaderBytes, bmp::kOs2MinHeaderBytes, bmp::kOs2HeaderBytes}) {
        const Result os2 = ReadFile(WriteBmp(ShortPalette(size, 20)));
        ExpectTwins(os2, windows, std::to_string(size) + " bytes");
        // The table in the info block is full length; past the 20 colours it is black.
        const std::vector<uint8_t> table = Table(os2);
        ASSERT_EQ(table.size(), 1024u);
        EXPECT_EQ(table[19 * 4 + 1], 255 - 19);
        EXPECT_EQ(table[20 * 4 + 1], 0);
    }
    // A count the 2.x header does give still counts, and a table that stops at a partial entry
    // keeps the whole ones.
    BmpSpec counted = ShortPalette(bmp::kOs2HeaderBytes, 20);
    counted.clrUsed = 20;
    ExpectTwins(ReadFile(WriteBmp(counted)), windows, "counted");
    BmpSpec ragged = ShortPalette(bmp::kCoreHeaderBytes, 20);
    ragged.offBits = 14 + 12 + 20 * 3 + 2;
    ragged.pixels.insert(ragged.pixels.begin(), {0, 0});
    ExpectTwins(ReadFile(WriteBmp(ragged)), windows, "ragged");
    // Pixels right after the header leave no colours at all: no picture.
    BmpSpec bare = ShortPalette(bmp::kCoreHeaderBytes, 20);
    bare.offBits = 14 + 12 + 2;
    EXPECT_EQ(ReadFile(WriteBmp(bare)).error, BmpError::BadData);
}

TEST(BmpOs2, PackedDibsWithEitherHeaderAsResourcesWouldHoldThem) {
    const BmpSpec s = Picture(4, 16, 3);
    const Result windows = ReadDib(WriteDib(s));
    const Result core = ReadDib(WriteDib(WithHeader(s, bmp::kCoreHeaderBytes)));
    ExpectTwins(core, windows, "core");
    EXPECT_EQ(core.layout.pixelOffset, 12u + 48u);
    const Result shortForm = ReadDib(WriteDib(WithHeader(s, bmp::kOs2MinHeaderBytes)));
    ExpectTwins(shortForm, windows, "short");
    EXPECT_EQ(shortForm.layout.pixelOffset, 16u + 64u);
    // A DIB has no pixel offset to shorten its table by: a cut table is refused.
    const std::vector<uint8_t> dib = WriteDib(WithHeader(s, bmp::kCoreHeaderBytes));
    EXPECT_EQ(ReadDib(std::vector<uint8_t>(dib.begin(), dib.begin() + 12 + 40)).error,
              BmpError::BadData);
}

TEST(BmpOs2, RunLengthAndBitFieldsInSecondGenerationHeaders) {
    BmpSpec rle = Picture(8, 4, 2);
    rle.compression = bmp::kRle8;
    rle.pixels = {4, 1, 0, 0, 0, 4, 9, 8, 7, 6, 0, 1};
    ExpectTwins(ReadFile(WriteBmp(WithHeader(rle, bmp::kOs2HeaderBytes))), ReadFile(WriteBmp(rle)),
                "rle8");
    // Bit fields need their masks: inside a header of 52 bytes or more (Windows' V2 and V3 sizes).
    BmpSpec fields = Picture(16, 3, 2);
    fields.compression = bmp::kBitfields;
    fields.writeMasks = true;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    for (uint32_t size : {52u, 56u, 64u}) {
        ExpectTwins(ReadFile(WriteBmp(WithHeader(fields, size))), ReadFile(WriteBmp(fields)),
                    std::to_string(size) + "-byte fields");
    }
}

TEST(BmpOs2, HuffmanTwentyFourBitRunsAndDepthsTheFormatLacksAreRefused) {
    BmpSpec huffman = Picture(1, 8, 2);
    huffman.headerSize = bmp::kOs2HeaderBytes;
    huffman.compression = 3;
    EXPECT_EQ(ReadFile(WriteBmp(huffman)).error, BmpError::BadData);
    BmpSpec rle24 = Picture(24, 2, 2);
    rle24.headerSize = bmp::kOs2HeaderBytes;
    rle24.compression = 4;
    EXPECT_EQ(ReadFile(WriteBmp(rle24)).error, BmpError::BadData);
    // Bit fields in a header too short to hold the masks.
    BmpSpec fields = Picture(32, 2, 2);
    fields.headerSize = 24;
    fields.compression = bmp::kBitfields;
    EXPECT_EQ(ReadFile(WriteBmp(fields)).error, BmpError::BadData);
    // OS/2 1.x knows no 16- or 32-bit pixels, and its sides and planes are checked as any.
    for (int bits : {16, 32}) {
        EXPECT_EQ(ReadFile(WriteBmp(WithHeader(Picture(bits, 2, 2), 12))).error, BmpError::BadData)
            << bits;
    }
    BmpSpec flat = WithHeader(Picture(8, 2, 2), 12);
    flat.planes = 2;
    EXPECT_EQ(ReadFile(WriteBmp(flat)).error, BmpError::BadData);
    BmpSpec empty = WithHeader(Picture(8, 2, 2), 12);
    empty.width = 0;
    EXPECT_EQ(ReadFile(WriteBmp(empty)).error, BmpError::BadData);
    // A header size that promises more than the file holds.
    const std::vector<uint8_t> file = WriteBmp(WithHeader(Picture(24, 2, 2), 64));
    EXPECT_EQ(ReadFile(std::vector<uint8_t>(file.begin(), file.begin() + 14 + 60)).error,
              BmpError::BadData);
}

TEST(BmpDeepColourCount, DeepPicturesLoadWhateverColourCountTheyAnnounce) {
    for (int bits : {24, 32}) {
        const BmpSpec plain = Picture(bits, 5, 3);
        const Result reference = ReadFile(WriteBmp(plain));
        for (uint32_t count : {257u, 300u, 0xFFFFFFFFu}) {
            BmpSpec s = plain;
            s.clrUsed = count;
            // A table of 300 colours really there, or none at all.
            s.colours = count == 300 ? RampColours(300) : std::vector<BmpColour>{};
            const Result r = ReadFile(WriteBmp(s));
            ExpectTwins(r, reference, std::to_string(bits) + " bits, " + std::to_string(count));
            EXPECT_EQ(r.layout.pixelOffset, 54u + s.colours.size() * 4);
            EXPECT_EQ(Table(r).size(), 4u);  // the one spare slot
        }
    }
    // As a packed DIB the pixels follow the table the count describes.
    BmpSpec s = Picture(24, 5, 3);
    s.clrUsed = 300;
    s.colours = RampColours(300);
    const Result dib = ReadDib(WriteDib(s));
    ASSERT_EQ(dib.error, BmpError::None);
    EXPECT_EQ(dib.layout.pixelOffset, 40u + 1200u);
    EXPECT_EQ(dib.pixels, ReadFile(WriteBmp(Picture(24, 5, 3))).pixels);
}

TEST(ImageLimit, SurfaceSizesAtTheEdgeOnePastItAndWhereRowsWouldOverflow) {
    EXPECT_EQ(LimitedSurfaceBytes(4096, 4096, 32), int64_t{64} << 20);
    EXPECT_EQ(LimitedSurfaceBytes(4096, 4096, 1), int64_t{2} << 20);
    EXPECT_EQ(LimitedSurfaceBytes(4095, 1, 24), 12288);  // 12285 padded to whole words
    EXPECT_EQ(LimitedSurfaceBytes(1, 1, 1), 4);
    EXPECT_EQ(LimitedSurfaceBytes(4097, 1, 32), -1);
    EXPECT_EQ(LimitedSurfaceBytes(1, 4097, 1), -1);
    // The rows of the 66-byte file at 32 bits would be 2 GiB: more than an int, refused before
    // any arithmetic can wrap.
    EXPECT_EQ(LimitedSurfaceBytes(536870912, 1, 32), -1);
    EXPECT_EQ(LimitedSurfaceBytes(INT32_MAX, INT32_MAX, 32), -1);
    EXPECT_EQ(LimitedSurfaceBytes(INT64_MAX, 1, 32), -1);
    for (int64_t side : {int64_t{0}, int64_t{-1}, int64_t{INT32_MIN}}) {
        EXPECT_EQ(LimitedSurfaceBytes(side, 5, 32), -1) << side;
        EXPECT_EQ(LimitedSurfaceBytes(5, side, 32), -1) << side;
    }
    for (int bits : {0, -8, 33, 64}) {
        EXPECT_EQ(LimitedSurfaceBytes(5, 5, bits), -1) << bits;
    }
    EXPECT_TRUE(FitsImageLimit(kMaxImageSide, kMaxImageSide));
    EXPECT_FALSE(FitsImageLimit(kMaxImageSide + 1, 1));
    EXPECT_FALSE(FitsImageLimit(1, kMaxImageSide + 1));
}

TEST(ImageLimit, TheLoaderTakesTheEdgeScalesOnePastAndRefusesPastTheSourceLimit) {
    // A square at the limit, 1 bit deep: decoded whole, first and last stored bytes in place.
    BmpSpec edge = Picture(1, kMaxImageSide, kMaxImageSide);
    const Result r = ReadFile(WriteBmp(edge));
    ASSERT_EQ(r.error, BmpError::None);
    ASSERT_TRUE(r.decoded);
    EXPECT_EQ(r.layout.widthBytes, 512);
    EXPECT_EQ(r.pixels, edge.pixels);
    // The same square as OS/2 1.x, whose 16-bit sides could say more.
    EXPECT_EQ(ReadFile(WriteBmp(WithHeader(edge, 12))).error, BmpError::None);
    // One past it either way, whole: the image is the picture scaled to the limit.
    for (const auto& size : {std::pair<int, int>{4097, 1}, {1, 4097}}) {
        for (uint32_t header : {bmp::kInfoHeaderBytes, bmp::kCoreHeaderBytes}) {
            const Result past =
                ReadFile(WriteBmp(WithHeader(Picture(1, size.first, size.second), header)));
            ASSERT_EQ(past.error, BmpError::None) << size.first << "x" << size.second;
            EXPECT_TRUE(past.decoded);
            EXPECT_EQ(past.layout.header.width, std::min(size.first, kMaxImageSide));
            EXPECT_EQ(past.layout.header.height, std::min(size.second, kMaxImageSide));
        }
    }
    BmpSpec huge = Picture(1, 1, 1);
    huge.headerSize = bmp::kCoreHeaderBytes;
    huge.width = 65535;
    huge.height = 65535;
    EXPECT_EQ(ReadFile(WriteBmp(huge)).error, BmpError::BadData);
    // The 66-byte file: 536 870 912 x 1 at 1 bit, pixels at 62, four pixel bytes.
    BmpSpec wide = Picture(1, 1, 1);
    wide.width = 536870912;
    wide.pixels = {0xFF, 0x00, 0xFF, 0x00};
    const std::vector<uint8_t> file = WriteBmp(wide);
    ASSERT_EQ(file.size(), 66u);
    ASSERT_EQ(file[10], 62);
    EXPECT_EQ(ReadFile(file).error, BmpError::BadData);
}
