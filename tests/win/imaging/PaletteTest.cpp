// Palettes: their size follows biClrUsed, they are never built from bytes past the info block,
// a deep image goes back to the stock palette, and a palette that cannot be made says so.
#include <windows.h>

#include <gtest/gtest.h>

#include "imaging/DIBImage.h"
#include "imaging/GdiObjectCount.h"
#include "tests/common/MessageRecorder.h"
#include "tests/native/base/BmpWriter.h"
#include "tests/win/imaging/ImageTestSupport.h"
#include "resources/TextIds.h"

namespace {
int EntryCount(HPALETTE palette) {
    return GetPaletteEntries(palette, 0, 0, nullptr);
}

std::vector<uint8_t> PalettedFile(int bits, uint32_t clrUsed) {
    BmpSpec s;
    s.bitCount = static_cast<uint16_t>(bits);
    s.width = 8;
    s.height = 2;
    s.clrUsed = clrUsed;
    s.colours = RampColours(clrUsed != 0 ? clrUsed : 1 << bits);
    s.colours[1] = {0x84, 0xFF, 0x00, 0x00};  // the key colour in the table
    s.pixels.assign(static_cast<size_t>((8 * bits + 31) / 32 * 4) * 2, 0x11);
    return WriteBmp(s);
}
}  // namespace

TEST(Palette, SizeComesFromBiClrUsedOrTheDepth) {
    MessageRecorder recorder;
    const struct {
        int bits;
        uint32_t clrUsed;
        int entries;
    } cases[] = {{4, 16, 16}, {4, 0, 16}, {1, 0, 2}, {8, 200, 200}, {8, 0, 256}, {4, 3, 3}};
    for (const auto& c : cases) {
        TempFile file("pal.bmp", PalettedFile(c.bits, c.clrUsed));
        DIBImage image;
        ASSERT_EQ(image.LoadBitmapFile(file.path()), 1);
        HPALETTE palette = image.GetMemoryDC()->GetCurrentPalette();
        ASSERT_NE(palette, nullptr);
        EXPECT_EQ(EntryCount(palette), c.entries) << c.bits << " bits, " << c.clrUsed;
        EXPECT_EQ(GetCurrentObject(image.GetMemoryDC()->GetHDC(), OBJ_PAL), palette);
        PALETTEENTRY key{};
        ASSERT_EQ(GetPaletteEntries(palette, 1, 1, &key), 1u);
        EXPECT_EQ(key.peRed, 0);
        EXPECT_EQ(key.peGreen, 255);
        EXPECT_EQ(key.peBlue, 132);
        // The image's table keeps all the depth's slots however few colours the file gave.
        EXPECT_EQ(image.GetInfo()->bmiHeader.biClrUsed, c.clrUsed);
    }
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(Palette, ConversionToThirtyTwoBitsSelectsTheStockPaletteAndDeletesTheBuiltOne) {
    MessageRecorder recorder;
    TempFile file("pal4.bmp", PalettedFile(4, 0));
    const int before = LiveImagingGdiObjects();
    {
        DIBImage image;
        ASSERT_EQ(image.LoadBitmapFile(file.path()), 1);
        HPALETTE built = image.GetMemoryDC()->GetCurrentPalette();
        HPALETTE original = image.GetMemoryDC()->GetOriginalPalette();
        EXPECT_NE(original, nullptr);
        ASSERT_EQ(GetObjectType(built), static_cast<DWORD>(OBJ_PAL));
        ASSERT_EQ(image.ChangeBitCount(32), 1);
        HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
        EXPECT_EQ(image.GetMemoryDC()->GetCurrentPalette(), stock);
        EXPECT_EQ(GetCurrentObject(image.GetMemoryDC()->GetHDC(), OBJ_PAL), stock);
        EXPECT_EQ(GetObjectType(built), 0u);  // deleted
        EXPECT_EQ(image.GetMemoryDC()->GetOriginalPalette(), original);
    }
    EXPECT_EQ(LiveImagingGdiObjects(), before);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(Palette, NeverReadsPastTheInfoBlockAndReportsWhatCannotBeMade) {
    DIBImage image;
    TempFile file("pal8.bmp", PalettedFile(8, 0));
    ASSERT_EQ(image.LoadBitmapFile(file.path()), 1);
    MessageRecorder recorder;
    // A header that claims more colours than 8 bits can index gives the 256 the block holds.
    std::vector<uint8_t> block(40 + 256 * 4, 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader.biSize = 40;
    info->bmiHeader.biBitCount = 8;
    info->bmiHeader.biClrUsed = 100000;
    HPALETTE p = image.CreateDIBPalette(info);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(EntryCount(p), 256);
    DeleteCounted(p);
    // A 24-bit header has no table: no palette, and the creation box.
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biClrUsed = 0;
    EXPECT_EQ(image.CreateDIBPalette(info), nullptr);
    EXPECT_EQ(image.CreateDIBPalette(nullptr), nullptr);
    ASSERT_EQ(recorder.size(), 2u);
    for (const RecordedMessage& m : recorder.messages()) {
        EXPECT_EQ(m.text, IDS_PALETTE_CREATE);
        EXPECT_EQ(m.caption, IDS_PALETTE_CREATE_CAPTION);
        EXPECT_EQ(m.flags, static_cast<uint32_t>(MB_OK | MB_ICONERROR));
    }
    // The null palette that follows a failed creation leaves the DC's palette in place.
    HPALETTE held = static_cast<HPALETTE>(GetCurrentObject(image.GetMemoryDC()->GetHDC(), OBJ_PAL));
    EXPECT_EQ(image.SetPalette(nullptr), 0);
    EXPECT_EQ(image.GetMemoryDC()->GetCurrentPalette(), nullptr);
    EXPECT_EQ(GetCurrentObject(image.GetMemoryDC()->GetHDC(), OBJ_PAL), held);
    EXPECT_EQ(recorder.size(), 2u);
}
