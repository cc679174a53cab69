// Copies and window-shape regions on real images: the format boxes, the pixels moved, and the
// region read back with GetRegionData.
#include <windows.h>

#include <gtest/gtest.h>

#include "imaging/DIBImage.h"
#include "platform/UniqueHandle.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/PixelCount.h"
#include "tests/native/base/BmpWriter.h"
#include "tests/win/imaging/ImageTestSupport.h"
#include "resources/TextIds.h"

namespace {
constexpr uint32_t kKey = 0x00FF84;

// A picture of ramp colours whose stored byte i is i.
std::unique_ptr<DIBImage> Paletted(int bits, int width, int height) {
    TempFile file("copy" + std::to_string(bits) + ".bmp",
                  WriteBmp(PatternedPicture(bits, width, height, 1, 0)));
    auto image = std::make_unique<DIBImage>();
    EXPECT_EQ(image->LoadBitmapFile(file.path()), 1);
    return image;
}

void ExpectOneMethodBox(const MessageRecorder& recorder, uint32_t text) {
    recorder.ExpectOnly(text, IDS_METHOD_CAPTION, MB_OK | MB_ICONWARNING);
}

// The pixels a region covers inside a w x h grid, from its GetRegionData rectangles, which must
// not overlap.
std::vector<std::vector<int>> Coverage(HRGN region, int w, int h) {
    std::vector<std::vector<int>> grid(h, std::vector<int>(w, 0));
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> storage(bytes);
    auto* data = reinterpret_cast<RGNDATA*>(storage.data());
    if (bytes == 0 || GetRegionData(region, bytes, data) != bytes) {
        ADD_FAILURE() << "no region data";
        return grid;
    }
    const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        for (int y = r[i].top; y < r[i].bottom; ++y) {
            for (int x = r[i].left; x < r[i].right; ++x) {
                if (x < 0 || y < 0 || x >= w || y >= h) {
                    ADD_FAILURE() << "rectangle outside the picture at " << x << "," << y;
                    continue;
                }
                ++grid[y][x];
            }
        }
    }
    return grid;
}
}  // namespace

TEST(DIBCopyOnImages, FormatBoxesForSubByteAndMixedDepths) {
    auto four = Paletted(4, 8, 2);
    auto eight = Paletted(8, 8, 2);
    auto deep24 = NewCanvas(4, 4);
    ASSERT_EQ(deep24->ChangeBitCount(24), 1);
    auto deep32 = NewCanvas(4, 4);
    const struct {
        DIBImage *dst, *src;
        uint32_t text;
    } cases[] = {{four.get(), eight.get(), IDS_COPY_NEEDS_256},
                 {eight.get(), four.get(), IDS_COPY_SAME_FORMAT},
                 {deep24.get(), deep32.get(), IDS_COPY_SAME_FORMAT}};
    for (const auto& c : cases) {
        MessageRecorder recorder;
        EXPECT_EQ(c.dst->DIBCopy(0, 0, 2, 2, c.src, 0, 0), 0);
        ExpectOneMethodBox(recorder, c.text);
    }
}

TEST(DIBCopyOnImages, EightBitImagesCopyOneBytePerPixel) {
    MessageRecorder recorder;
    auto a = Paletted(8, 8, 2);
    auto b = Paletted(8, 8, 2);
    const uint8_t* src = reinterpret_cast<const uint8_t*>(a->GetLine(1));
    EXPECT_EQ(b->DIBCopy(5, 0, 3, 1, a.get(), 0, 1), 1);
    const uint8_t* dst = reinterpret_cast<const uint8_t*>(b->GetLine(0));
    EXPECT_EQ(dst[5], src[0]);
    EXPECT_EQ(dst[7], src[2]);
    EXPECT_EQ(dst[4], 12);  // untouched: top row is stored second, byte 8 + 4
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(DIBCopyOnImages, ThirtyTwoBitViewCopyAfterGdiDrawing) {
    MessageRecorder recorder;
    auto field = NewCanvas(50, 40);
    auto frame = NewCanvas(30, 30);
    // Drawn with GDI, read by the copy: the flush makes the fill visible to the pixel loop.
    RECT box = {10, 10, 20, 20};
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(field->GetMemoryDC()->GetHDC(), &box, red.get());
    EXPECT_EQ(frame->DIBCopy(5, 5, 20, 20, field.get(), 5, 5), 1);
    EXPECT_EQ(PixelAt(*frame, 10, 10), 0xFF0000u);
    EXPECT_EQ(PixelAt(*frame, 19, 19), 0xFF0000u);
    EXPECT_EQ(PixelAt(*frame, 20, 20), 0xFFFFFFu);
    // Clipped: a rectangle reaching past both images copies only what lies inside.
    EXPECT_EQ(frame->DIBCopy(25, 25, 100, 100, field.get(), 18, 18), 1);
    EXPECT_EQ(PixelAt(*frame, 25, 25), 0xFF0000u);
    EXPECT_EQ(PixelAt(*frame, 26, 26), 0xFF0000u);
    EXPECT_EQ(PixelAt(*frame, 27, 27), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(*frame, 29, 24), 0xFFFFFFu);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(DIBMaskCopyOnImages, FormatBoxesInOrderAndOnlyTheFirstFailure) {
    auto deep = NewCanvas(4, 4);
    auto four = Paletted(4, 4, 4);
    auto deep24 = NewCanvas(4, 4);
    ASSERT_EQ(deep24->ChangeBitCount(24), 1);
    const struct {
        DIBImage *dst, *src, *mask;
        uint32_t text;
    } cases[] = {{four.get(), deep.get(), deep.get(), IDS_MASK_DESTINATION},
                 {deep.get(), four.get(), four.get(), IDS_MASK_SOURCE},
                 {deep.get(), deep.get(), deep24.get(), IDS_MASK_MASK}};
    for (const auto& c : cases) {
        MessageRecorder recorder;
        EXPECT_EQ(c.dst->DIBMaskCopy(0, 0, 1, 1, c.src, 0, 0, c.mask, 0, 0, 0), 0);
        ExpectOneMethodBox(recorder, c.text);
    }
}

TEST(DIBMaskCopyOnImages, SpriteSheetWithItsMaskBelow) {
    MessageRecorder recorder;
    auto sheet = NewCanvas(2, 4);
    sheet->GetLine(0)[0] = 0xAA000001;
    sheet->GetLine(0)[1] = 0x00000002;
    sheet->GetLine(1)[0] = 0x00000003;
    sheet->GetLine(1)[1] = 0x00000004;
    sheet->GetLine(2)[0] = 0x00FFFFFE;  // one step off white: opaque
    sheet->GetLine(2)[1] = 0xFFFFFFFF;  // white whatever the fourth byte: transparent
    sheet->GetLine(3)[0] = 0x00FFFFFF;
    sheet->GetLine(3)[1] = 0x00000000;
    auto canvas = NewCanvas(3, 3);
    EXPECT_EQ(canvas->DIBMaskCopy(1, 1, 2, 2, sheet.get(), 0, 0, sheet.get(), 0, 2, 0xFFFFFF), 1);
    EXPECT_EQ(canvas->GetLine(1)[1], 0xAA000001u);  // the whole word, fourth byte too
    EXPECT_EQ(PixelAt(*canvas, 2, 1), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(*canvas, 1, 2), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(*canvas, 2, 2), 4u);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(TransparentRegion, RegionDataCoversExactlyTheNonKeyPixels) {
    MessageRecorder recorder;
    auto shape = NewCanvas(7, 3);
    const uint32_t rows[3][7] = {
        {kKey, 1, 2, kKey, 3, 4, kKey},
        {0xFF000000 | kKey, kKey, kKey, kKey, kKey, kKey, kKey},
        {5, 6, 7, 8, 9, 10, 11},
    };
    pixeltest::Fill(shape.get(), [&rows](int x, int y) { return rows[y][x]; });
    UniqueRegion region(shape->GetTransRgn(0, 0, 5, 3, kKey));
    ASSERT_TRUE(region);
    const auto grid = Coverage(region.get(), 7, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) {
            const bool opaque = x < 5 && (rows[y][x] & 0xFFFFFF) != kKey;
            EXPECT_EQ(grid[y][x], opaque ? 1 : 0) << x << "," << y;
            EXPECT_EQ(PtInRegion(region.get(), x, y) != FALSE, opaque) << x << "," << y;
        }
    }
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(TransparentRegion, CellRegionsKeepImageCoordinatesAndLargeShapesAreWhole) {
    MessageRecorder recorder;
    auto sheet = NewCanvas(24, 8);
    pixeltest::Fill(sheet.get(), [](int x, int y) { return (x + y) % 3 == 0 ? 0 : kKey; });
    UniqueRegion cell(sheet->GetTransRgn(8, 0, 8, 8, kKey));
    ASSERT_TRUE(cell);
    RECT box{};
    GetRgnBox(cell.get(), &box);
    EXPECT_GE(box.left, 8);
    EXPECT_LE(box.right, 16);
    const auto grid = Coverage(cell.get(), 24, 8);
    EXPECT_EQ(pixeltest::CountWhere(0, 0, 24, 8,
                                    [&grid](int x, int y) {
                                        return grid[y][x] !=
                                               (x >= 8 && x < 16 && (x + y) % 3 == 0 ? 1 : 0);
                                    }),
              0);
    // A chequered 300 x 40 picture has 6000 runs: more than one block of rectangles.
    auto big = NewCanvas(300, 40);
    pixeltest::Fill(big.get(), [](int x, int y) { return (x + y) % 2 == 0 ? 0x123456 : kKey; });
    UniqueRegion whole(big->GetTransRgn(0, 0, 300, 40, kKey));
    ASSERT_TRUE(whole);
    const auto all = Coverage(whole.get(), 300, 40);
    EXPECT_EQ(pixeltest::CountWhere(0, 0, 300, 40,
                                    [&all](int x, int y) { return all[y][x] != (x + y + 1) % 2; }),
              0);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(TransparentRegion, NullForAllKeyEmptyAndNonThirtyTwoBitImages) {
    auto shape = NewCanvas(4, 4);
    pixeltest::Fill(shape.get(), [](int, int) { return kKey; });
    {
        MessageRecorder recorder;
        EXPECT_EQ(shape->GetTransRgn(0, 0, 4, 4, kKey), nullptr);
        EXPECT_EQ(shape->GetTransRgn(0, 0, 0, 4, 0x123456), nullptr);
        EXPECT_EQ(recorder.size(), 0u);
    }
    auto four = Paletted(4, 4, 4);
    MessageRecorder recorder;
    EXPECT_EQ(four->GetTransRgn(0, 0, 4, 4, kKey), nullptr);
    ExpectOneMethodBox(recorder, IDS_REGION_NEEDS_32);
}
