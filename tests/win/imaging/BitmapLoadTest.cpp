// Loading BMP files and bitmap resources: every depth the program meets, the row lengths the
// system reports, each failure's exact box, and a failed load leaving the picture alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/DIBImage.h"
#include "tests/common/MessageRecorder.h"
#include "tests/native/base/BmpWriter.h"
#include "tests/win/imaging/ImageTestSupport.h"
#include "tests/win/imaging/TestResourceIds.h"

#if __has_include("ResourceIds.h")
#include "ResourceIds.h"
#include "resources/TextIds.h"
#endif

namespace {
constexpr uint32_t kBadText = IDS_BAD_BITMAP;

// A picture whose stored bytes follow a pattern: byte i of the pixel data is (i * 7 + 3).
BmpSpec Patterned(int bits, int width, int height) {
    return PatternedPicture(bits, width, height, 7, 3);
}

// The colour at (x, y from the top) that the test BI_RGB file describes, as 0x00RRGGBB.
uint32_t ExpectedColour(const BmpSpec& s, int x, int y) {
    const int rowBytes = (s.width * s.bitCount + 31) / 32 * 4;
    const uint8_t* row = s.pixels.data() + static_cast<size_t>(s.height - 1 - y) * rowBytes;
    if (s.bitCount >= 24) {
        const uint8_t* p = row + x * (s.bitCount / 8);
        return (p[2] << 16) | (p[1] << 8) | p[0];
    }
    const int perByte = 8 / s.bitCount;
    const int shift = 8 - s.bitCount * (1 + x % perByte);
    const int index = (row[x / perByte] >> shift) & ((1 << s.bitCount) - 1);
    const BmpColour& c = s.colours[index];
    return (c.red << 16) | (c.green << 8) | c.blue;
}

}  // namespace

TEST(BitmapFileLoad, EveryDepthLoadsAndConvertsToItsColours) {
    MessageRecorder recorder;
    for (int bits : {1, 4, 8, 24, 32}) {
        const BmpSpec s = Patterned(bits, 13, 5);
        TempFile file("depth" + std::to_string(bits) + ".bmp", WriteBmp(s));
        DIBImage image;
        ASSERT_EQ(image.LoadBitmapFile(file.path()), 1) << bits;
        EXPECT_EQ(image.GetBitCount(), bits);
        EXPECT_EQ(image.GetWidth(), 13);
        EXPECT_EQ(image.GetHeight(), 5);
        EXPECT_EQ(image.GetWidthBytes(), (13 * bits + 31) / 32 * 4);
        ExpectLineTable(image);
        // The stored bytes go into the surface unchanged.
        EXPECT_EQ(std::memcmp(image.GetBits(), s.pixels.data(), s.pixels.size()), 0) << bits;
        ASSERT_EQ(image.ChangeBitCount(32), 1);
        ExpectLineTable(image);
        EXPECT_EQ(image.GetInfo()->bmiHeader.biBitCount, 32);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 13; ++x) {
                ASSERT_EQ(PixelAt(image, x, y), ExpectedColour(s, x, y))
                    << bits << " bits at " << x << "," << y;
            }
        }
        // An unknown depth is refused and changes nothing.
        EXPECT_EQ(image.ChangeBitCount(7), 0);
        EXPECT_EQ(image.GetBitCount(), 32);
    }
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(BitmapFileLoad, RowLengthsOf455WideFourBitAnd300WideTwentyFourBit) {
    MessageRecorder recorder;
    BmpSpec four = Patterned(4, 455, 2);
    four.clrUsed = 5;  // a short table: indices past it are black
    four.colours.resize(5);
    TempFile f4("w455.bmp", WriteBmp(four));
    DIBImage a;
    ASSERT_EQ(a.LoadBitmapFile(f4.path()), 1);
    EXPECT_EQ(a.GetWidthBytes(), 228);
    EXPECT_EQ(a.GetBytesPerPixel(), 0);
    ASSERT_EQ(a.ChangeBitCount(32), 1);
    EXPECT_EQ(a.GetWidthBytes(), 1820);
    // Byte 0 of the bottom row is 3: pixel 0 index 0 (entry 0), pixel 1 index 3 (entry 3).
    EXPECT_EQ(PixelAt(a, 0, 1), 0x01FF00u);
    EXPECT_EQ(PixelAt(a, 1, 1), 0x31FC03u);
    // Byte 1 is 10: index 0 then index 10, past the five colours given: black.
    EXPECT_EQ(PixelAt(a, 3, 1), 0u);

    BmpSpec deep = Patterned(24, 300, 300);
    const std::vector<uint8_t> bytes = WriteBmp(deep);
    ASSERT_EQ(bytes[10], 54);
    TempFile f24("w300.bmp", bytes);
    DIBImage b;
    ASSERT_EQ(b.LoadBitmapFile(f24.path()), 1);
    EXPECT_EQ(b.GetBitCount(), 24);
    EXPECT_EQ(b.GetBytesPerPixel(), 3);
    EXPECT_EQ(b.GetWidthBytes(), 900);
    ExpectLineTable(b);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(BitmapFileLoad, TopDownSixteenBitAndV5FilesArriveBottomUp) {
    MessageRecorder recorder;
    BmpSpec s;
    s.headerSize = bmp::kV5HeaderBytes;
    s.bitCount = 16;
    s.compression = bmp::kBitfields;
    s.writeMasks = true;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.width = 2;
    s.height = -2;  // top row stored first
    s.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF};
    TempFile file("v5.bmp", WriteBmp(s));
    DIBImage image;
    ASSERT_EQ(image.LoadBitmapFile(file.path()), 1);
    EXPECT_EQ(image.GetHeight(), 2);
    EXPECT_EQ(image.GetBitCount(), 32);
    EXPECT_EQ(image.GetInfo()->bmiHeader.biSize, 40u);
    EXPECT_GT(image.GetInfo()->bmiHeader.biHeight, 0);
    ExpectLineTable(image);
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0x00FF00u);
    EXPECT_EQ(PixelAt(image, 0, 1), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(BitmapFileLoad, RleEightFileDecodesToItsIndices) {
    MessageRecorder recorder;
    BmpSpec s;
    s.bitCount = 8;
    s.compression = bmp::kRle8;
    s.width = 4;
    s.height = 2;
    s.colours = RampColours(256);
    s.pixels = {4, 1, 0, 0, 0, 4, 9, 8, 7, 6, 0, 1};
    TempFile file("rle8.bmp", WriteBmp(s));
    DIBImage image;
    ASSERT_EQ(image.LoadBitmapFile(file.path()), 1);
    EXPECT_EQ(image.GetBitCount(), 8);
    EXPECT_EQ(image.GetInfo()->bmiHeader.biCompression, static_cast<DWORD>(BI_RGB));
    const uint8_t* top = reinterpret_cast<const uint8_t*>(image.GetLine(0));
    const uint8_t* bottom = reinterpret_cast<const uint8_t*>(image.GetLine(1));
    EXPECT_EQ(std::vector<uint8_t>(top, top + 4), (std::vector<uint8_t>{9, 8, 7, 6}));
    EXPECT_EQ(std::vector<uint8_t>(bottom, bottom + 4), (std::vector<uint8_t>{1, 1, 1, 1}));
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(BitmapFileLoad, EachFailureShowsItsBoxAndLeavesThePictureAsItWas) {
    DIBImage image;
    TempFile good("good.bmp", WriteBmp(Patterned(24, 3, 2)));
    ASSERT_EQ(image.LoadBitmapFile(good.path()), 1);
    const ImageSnapshot before = Take(image);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        uint32_t text;
        uint32_t caption;
        UINT icon;
    };
    std::vector<uint8_t> badSize = WriteBmp(Patterned(24, 3, 2));
    badSize[14] = 13;  // no header has this size
    std::vector<uint8_t> absurd = WriteBmp(Patterned(24, 3, 2));
    PutLe(absurd, 18, 3000000, 4);
    PutLe(absurd, 22, 2000000, 4);
    std::vector<uint8_t> pastEnd = WriteBmp(Patterned(24, 3, 2));
    PutLe(pastEnd, 10, 100000, 4);
    BmpSpec rle = Patterned(8, 4, 2);
    rle.compression = bmp::kRle8;
    rle.pixels = {9, 1, 0, 1};  // a run of 9 in a row of 4
    const std::vector<Case> cases = {
        {"empty.bmp", {}, IDS_NOT_BITMAP, IDS_NOT_BITMAP_CAPTION, MB_ICONWARNING},
        {"png.bmp",
         {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13},
         IDS_NOT_BITMAP,
         IDS_NOT_BITMAP_CAPTION,
         MB_ICONWARNING},
        {"short.bmp", {'B', 'M', 0, 0}, kBadText, IDS_BAD_BITMAP_CAPTION, MB_ICONERROR},
        {"badsize.bmp", badSize, kBadText, IDS_BAD_BITMAP_CAPTION, MB_ICONERROR},
        {"absurd.bmp", absurd, kBadText, IDS_BAD_BITMAP_CAPTION, MB_ICONERROR},
        {"pastend.bmp", pastEnd, kBadText, IDS_BAD_BITMAP_CAPTION, MB_ICONERROR},
        {"rle.bmp", WriteBmp(rle), kBadText, IDS_BAD_BITMAP_CAPTION, MB_ICONERROR},
    };
    for (const Case& c : cases) {
        TempFile file(c.name, c.bytes);
        MessageRecorder recorder;
        EXPECT_EQ(image.LoadBitmapFile(file.path()), 0) << c.name;
        SCOPED_TRACE(c.name);
        recorder.ExpectOnly(c.text, c.caption, MB_OK | c.icon);
        ExpectUnchanged(image, before);
    }
    MessageRecorder recorder;
    EXPECT_EQ(image.LoadBitmapFile("Z:\\no\\such\\dir\\missing.bmp"), 0);
    recorder.ExpectOnly(IDS_FILE_OPEN, IDS_FILE_OPEN_CAPTION, MB_OK | MB_ICONERROR);
    ExpectUnchanged(image, before);
}

TEST(BitmapResourceLoad, TestCellsLoadWithTheirIndicesAndColours) {
    MessageRecorder recorder;
    DIBImage image;
    ASSERT_EQ(image.LoadBitmapResource(MAKEINTRESOURCEA(IDB_TEST_CELLS)), 1);
    EXPECT_EQ(image.GetWidth(), 8);
    EXPECT_EQ(image.GetHeight(), 4);
    EXPECT_EQ(image.GetBitCount(), 4);
    EXPECT_EQ(image.GetWidthBytes(), 4);
    ExpectLineTable(image);
    ASSERT_EQ(image.ChangeBitCount(32), 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int i = (x + 3 * y) % 16;
            const uint32_t want = (static_cast<uint32_t>(i * 16 + 1) << 16) | ((255 - i) << 8) | i;
            EXPECT_EQ(PixelAt(image, x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(BitmapResourceLoad, MissingAndMalformedResourcesShowTheirBoxes) {
    DIBImage image;
    ASSERT_EQ(image.LoadBitmapResource(MAKEINTRESOURCEA(IDB_TEST_CELLS)), 1);
    const ImageSnapshot before = Take(image);
    const struct {
        int id;
        uint32_t text, caption, flags;
    } cases[] = {{IDB_TEST_MISSING, IDS_RESOURCE_MISSING, IDS_RESOURCE_MISSING_CAPTION,
                  MB_OK | MB_ICONWARNING},
                 {IDB_TEST_BAD_HEADER, kBadText, IDS_BAD_RESOURCE_CAPTION, MB_OK | MB_ICONERROR}};
    for (const auto& c : cases) {
        MessageRecorder recorder;
        EXPECT_EQ(image.LoadBitmapResource(MAKEINTRESOURCEA(c.id)), 0) << c.id;
        recorder.ExpectOnly(c.text, c.caption, c.flags);
        ExpectUnchanged(image, before);
    }
}
