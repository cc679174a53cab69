// The copy kernels and the run search: what they copy, what the key lets through, and that no
// rectangle, however placed, reaches outside an image.
#include <gtest/gtest.h>

#include <climits>

#include "base/PixelCopy.h"
#include "base/TransparentRuns.h"
#include "tests/native/base/TestSurface.h"

namespace {
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kKey = 0x00FF84;

uint32_t Position(uint8_t tag, int x, int y) {
    return (static_cast<uint32_t>(tag) << 24) | (y << 12) | x;
}
}  // namespace

TEST(PixelRowCopy, CopiesTheRectangleBetweenImagesOfDifferentWidths) {
    TestSurface src(7, 5, 32);
    TestSurface dst(4, 6, 32);
    src.Number32(0xA0);
    dst.Number32(0xD0);
    ASSERT_TRUE(CopyPixelRows(dst.View(), 1, 2, 3, 2, src.View(), 4, 1));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
            const uint32_t want = inside ? Position(0xA0, x + 3, y - 1) : Position(0xD0, x, y);
            EXPECT_EQ(dst.Get32(x, y), want) << x << "," << y;
        }
    }
}

TEST(PixelRowCopy, WorksOnWholeBytesOfEachDepthAndLeavesRowPaddingAlone) {
    for (int bits : {8, 16, 24}) {
        TestSurface src(5, 3, bits);
        TestSurface dst(5, 3, bits, 0xEE);
        for (size_t i = 0; i < src.Bytes().size(); ++i) {
            src.Bytes()[i] = static_cast<uint8_t>(i + 1);
        }
        ASSERT_TRUE(CopyPixelRows(dst.View(), 0, 0, 5, 3, src.View(), 0, 0));
        const int bpp = bits / 8;
        for (int y = 0; y < 3; ++y) {
            for (int b = 0; b < 5 * bpp; ++b) {
                EXPECT_EQ(dst.At(0, y)[b], src.At(0, y)[b]) << bits << " bits";
            }
            for (int b = 5 * bpp; b < dst.WidthBytes(); ++b) {
                EXPECT_EQ(dst.At(0, y)[b], 0xEE) << "padding of " << bits << " bits";
            }
        }
    }
}

TEST(PixelRowCopy, RefusesSubByteAndMismatchedFormatsWithoutTouchingPixels) {
    TestSurface four(8, 2, 4, 0x11);
    TestSurface other4(8, 2, 4, 0x22);
    TestSurface deep24(4, 2, 24, 0x33);
    TestSurface deep32(4, 2, 32, 0x44);
    EXPECT_FALSE(CopyPixelRows(four.View(), 0, 0, 2, 2, other4.View(), 0, 0));
    EXPECT_FALSE(CopyPixelRows(deep24.View(), 0, 0, 2, 2, deep32.View(), 0, 0));
    EXPECT_FALSE(CopyPixelRows(deep32.View(), 0, 0, 2, 2, deep24.View(), 0, 0));
    EXPECT_EQ(four.Bytes(), std::vector<uint8_t>(four.Bytes().size(), 0x11));
    EXPECT_EQ(deep24.Bytes(), std::vector<uint8_t>(deep24.Bytes().size(), 0x33));
    EXPECT_EQ(deep32.Bytes(), std::vector<uint8_t>(deep32.Bytes().size(), 0x44));
}

TEST(PixelRowCopy, OverlappingRowsOfOneImageMoveAsThroughABuffer) {
    TestSurface img(6, 6, 32);
    img.Number32(0x10);
    PixelSurface v = img.View();
    ASSERT_TRUE(CopyPixelRows(v, 1, 2, 4, 3, v, 0, 0));  // down and right over itself
    for (int y = 2; y < 5; ++y) {
        for (int x = 1; x < 5; ++x) {
            EXPECT_EQ(img.Get32(x, y), Position(0x10, x - 1, y - 2)) << x << "," << y;
        }
    }
    EXPECT_EQ(img.Get32(0, 0), Position(0x10, 0, 0));
}

TEST(PixelClipping, CopiesOnlyThePartInsideBothImagesWhereverTheRectangleIs) {
    TestSurface src(5, 5, 32);
    src.Number32(0xA0);
    // Destination corner hanging off the top-left: only the pixels with both ends inside move.
    TestSurface dst(4, 4, 32);
    dst.Number32(0xD0);
    ASSERT_TRUE(CopyPixelRows(dst.View(), -2, -1, 4, 4, src.View(), 0, 0));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = x < 2 && y < 3;
            EXPECT_EQ(dst.Get32(x, y), inside ? Position(0xA0, x + 2, y + 1) : Position(0xD0, x, y))
                << x << "," << y;
        }
    }
    // Source hanging off the bottom-right: the rows and columns it lacks stay as they were.
    TestSurface dst2(4, 4, 32);
    dst2.Number32(0xD0);
    ASSERT_TRUE(CopyPixelRows(dst2.View(), 0, 0, 4, 4, src.View(), 3, 2));
    EXPECT_EQ(dst2.Get32(1, 2), Position(0xA0, 4, 4));
    EXPECT_EQ(dst2.Get32(2, 0), Position(0xD0, 2, 0));
    EXPECT_EQ(dst2.Get32(0, 3), Position(0xD0, 0, 3));
}

TEST(PixelClipping, FarOffNegativeAndOverflowingRectanglesTouchNothing) {
    TestSurface src(4, 4, 32);
    TestSurface mask(4, 4, 32);
    TestSurface dst(4, 4, 32);
    src.Number32(0xA0);
    mask.Number32(0x00);
    dst.Number32(0xD0);
    const std::vector<uint8_t> before = dst.Bytes();
    const int far[][4] = {{4, 0, 0, 0},       {0, 4, 0, 0},
                          {-4, 0, 0, 0},      {0, 0, 4, 0},
                          {0, 0, 0, -4},      {INT_MAX, INT_MAX, 0, 0},
                          {INT_MIN, 0, 0, 0}, {0, 0, INT_MIN, INT_MAX}};
    for (const auto& p : far) {
        EXPECT_TRUE(CopyPixelRows(dst.View(), p[0], p[1], 4, 4, src.View(), p[2], p[3]));
        EXPECT_TRUE(MaskCopyPixels(dst.View(), p[0], p[1], 4, 4, src.View(), p[2], p[3],
                                   mask.View(), 0, 0, kWhite));
        // The mask alone placed off its image stops the copy too.
        const bool firstOff = p[0] != 0 || p[1] != 0;
        EXPECT_TRUE(MaskCopyPixels(dst.View(), 0, 0, 4, 4, src.View(), 0, 0, mask.View(),
                                   firstOff ? p[0] : p[2], firstOff ? p[1] : p[3], kWhite));
    }
    for (int wh : {0, -1, INT_MIN}) {
        EXPECT_TRUE(CopyPixelRows(dst.View(), 0, 0, wh, 4, src.View(), 0, 0));
        EXPECT_TRUE(CopyPixelRows(dst.View(), 0, 0, 4, wh, src.View(), 0, 0));
        EXPECT_TRUE(
            MaskCopyPixels(dst.View(), 0, 0, wh, 4, src.View(), 0, 0, mask.View(), 0, 0, kWhite));
    }
    EXPECT_EQ(dst.Bytes(), before);
    // A huge size starting inside copies exactly the part that fits.
    EXPECT_TRUE(CopyPixelRows(dst.View(), 2, 2, INT_MAX, INT_MAX, src.View(), 0, 0));
    EXPECT_EQ(dst.Get32(3, 3), Position(0xA0, 1, 1));
    EXPECT_EQ(dst.Get32(1, 1), Position(0xD0, 1, 1));
}

TEST(PixelClipping, WindowIsTheIntersectionOfAllPlacements) {
    TestSurface a(10, 10, 32);
    TestSurface b(6, 8, 32);
    TestSurface c(20, 3, 32);
    PixelSurface va = a.View(), vb = b.View(), vc = c.View();
    const CopyPlacement p[] = {{&va, -1, 2}, {&vb, 3, 0}, {&vc, 0, -1}};
    const CopyWindow w = ClipCopy(8, 8, p, 3);
    // Columns: a needs j >= 1, b allows j < 3; rows: c needs k >= 1 and allows k < 4.
    EXPECT_EQ(w.offsetX, 1);
    EXPECT_EQ(w.width, 2);
    EXPECT_EQ(w.offsetY, 1);
    EXPECT_EQ(w.height, 3);
    const CopyPlacement apart[] = {{&va, 0, 0}, {&vb, 6, 0}};
    EXPECT_TRUE(ClipCopy(8, 8, apart, 2).IsEmpty());
}

TEST(PixelMaskCopy, KeyComparesTheLowTwentyFourBitsOnlyAndCopiesTheWholeWord) {
    TestSurface src(6, 1, 32);
    TestSurface mask(6, 1, 32);
    TestSurface dst(6, 1, 32);
    const uint32_t masks[] = {kWhite, 0xAAFFFFFF, 0x00FFFFFE, 0x00000000, 0xFF123456, 0x01FFFFFF};
    for (int x = 0; x < 6; ++x) {
        src.Set32(x, 0, 0x7F000000u | (x + 1) * 0x010101u);
        mask.Set32(x, 0, masks[x]);
        dst.Set32(x, 0, 0x00C0FFEE);
    }
    ASSERT_TRUE(
        MaskCopyPixels(dst.View(), 0, 0, 6, 1, src.View(), 0, 0, mask.View(), 0, 0, kWhite));
    // White with any fourth byte is transparent; blue 254 (one step off) and others let the
    // source through, fourth byte included.
    EXPECT_EQ(dst.Get32(0, 0), 0x00C0FFEEu);
    EXPECT_EQ(dst.Get32(1, 0), 0x00C0FFEEu);
    EXPECT_EQ(dst.Get32(2, 0), 0x7F030303u);
    EXPECT_EQ(dst.Get32(3, 0), 0x7F040404u);
    EXPECT_EQ(dst.Get32(4, 0), 0x7F050505u);
    EXPECT_EQ(dst.Get32(5, 0), 0x00C0FFEEu);
}

TEST(PixelMaskCopy, SourceAndMaskMayBeOneSheetWithTheMaskBelowThePicture) {
    TestSurface sheet(3, 4, 32);
    sheet.Number32(0x55);
    // Mask rows 2..3: key white except the middle column.
    for (int y = 2; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) {
            sheet.Set32(x, y, x == 1 ? 0 : kWhite);
        }
    }
    TestSurface dst(5, 5, 32);
    dst.Number32(0xD0);
    ASSERT_TRUE(
        MaskCopyPixels(dst.View(), 2, 1, 3, 2, sheet.View(), 0, 0, sheet.View(), 0, 2, kWhite));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool through = x == 3 && (y == 1 || y == 2);
            EXPECT_EQ(dst.Get32(x, y), through ? Position(0x55, 1, y - 1) : Position(0xD0, x, y))
                << x << "," << y;
        }
    }
}

TEST(PixelMaskCopy, RefusesAnyImageThatIsNot32Bit) {
    TestSurface d32(2, 2, 32), s32(2, 2, 32), m32(2, 2, 32), s24(2, 2, 24);
    d32.Number32(1);
    const std::vector<uint8_t> before = d32.Bytes();
    EXPECT_FALSE(MaskCopyPixels(s24.View(), 0, 0, 2, 2, s32.View(), 0, 0, m32.View(), 0, 0, 0));
    EXPECT_FALSE(MaskCopyPixels(d32.View(), 0, 0, 2, 2, s24.View(), 0, 0, m32.View(), 0, 0, 1));
    EXPECT_FALSE(MaskCopyPixels(d32.View(), 0, 0, 2, 2, s32.View(), 0, 0, s24.View(), 0, 0, 1));
    EXPECT_EQ(d32.Bytes(), before);
}

TEST(PixelRuns, RowExampleGivesTwoRunsEndingAtTheKeyOrTheRectangle) {
    TestSurface img(7, 2, 32);
    const uint32_t row[] = {kKey, 0x123456, 0x000000, 0xFF00FF84, 0x00FF85, 0x000001, 0x000002};
    for (int x = 0; x < 7; ++x) {
        img.Set32(x, 0, row[x]);
        img.Set32(x, 1, kKey);
    }
    const std::vector<PixelRun> runs = FindOpaqueRuns(img.View(), 0, 0, 5, 2, kKey);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].row, 0);
    EXPECT_EQ(runs[0].start, 1);
    EXPECT_EQ(runs[0].end, 3);
    EXPECT_EQ(runs[1].row, 0);
    EXPECT_EQ(runs[1].start, 4);
    EXPECT_EQ(runs[1].end, 5);
}

TEST(PixelRuns, AllKeyAndEmptyRectanglesGiveNoRuns) {
    TestSurface img(4, 4, 32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            img.Set32(x, y, (y * 4 + x) << 24 | kKey);  // key whatever the fourth byte
        }
    }
    EXPECT_TRUE(FindOpaqueRuns(img.View(), 0, 0, 4, 4, kKey).empty());
    img.Set32(2, 2, 0);
    EXPECT_EQ(FindOpaqueRuns(img.View(), 0, 0, 4, 4, kKey).size(), 1u);
    EXPECT_TRUE(FindOpaqueRuns(img.View(), 0, 0, 0, 4, kKey).empty());
    EXPECT_TRUE(FindOpaqueRuns(img.View(), 0, 0, 4, 0, kKey).empty());
    EXPECT_TRUE(FindOpaqueRuns(img.View(), 0, 0, -3, 4, kKey).empty());
    TestSurface deep24(4, 4, 24);
    EXPECT_TRUE(FindOpaqueRuns(deep24.View(), 0, 0, 4, 4, 0xABCDEF).empty());
}

TEST(PixelRuns, SecondCellKeepsImageCoordinatesAndClipsToTheImage) {
    TestSurface sheet(24, 8, 32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 24; ++x) {
            sheet.Set32(x, y, x == y + 8 || x == 23 ? 0x0000FF : kKey);
        }
    }
    const std::vector<PixelRun> runs = FindOpaqueRuns(sheet.View(), 8, 0, 8, 8, kKey);
    ASSERT_EQ(runs.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(runs[k].row, k);
        EXPECT_EQ(runs[k].start, 8 + k);
        EXPECT_EQ(runs[k].end, 9 + k);
        EXPECT_GE(runs[k].start, 8);
        EXPECT_LE(runs[k].end, 16);
    }
    // A rectangle running past the image is cut at its edges.
    const std::vector<PixelRun> edge = FindOpaqueRuns(sheet.View(), 20, -5, 100, 100, kKey);
    ASSERT_EQ(edge.size(), 8u);
    EXPECT_EQ(edge[0].row, 0);
    EXPECT_EQ(edge[0].start, 23);
    EXPECT_EQ(edge[0].end, 24);
    EXPECT_TRUE(FindOpaqueRuns(sheet.View(), INT_MAX, INT_MAX, INT_MAX, INT_MAX, kKey).empty());
    EXPECT_TRUE(FindOpaqueRuns(sheet.View(), INT_MIN, 0, 10, 8, kKey).empty());
}
