// The whole-pixel scale of a monitor and the enlargement it drives: outlines from runs and
// pixels block by block, checked against each other and against a pixel-by-pixel rule.
#include <gtest/gtest.h>

#include "base/NearestNeighbour.h"
#include "base/PixelScale.h"
#include "tests/native/base/TestSurface.h"

namespace {
constexpr uint32_t kKey = 0x00FF84;

TEST(PixelScaleRule, NearestWholeNumberHalvesUpWithinOneToFour) {
    const struct {
        int32_t dpi;
        int32_t factor;
    } rows[] = {{96, 1},  {120, 1}, {143, 1}, {144, 2}, {168, 2}, {192, 2}, {239, 2},      {240, 3},
                {288, 3}, {384, 4}, {480, 4}, {72, 1},  {0, 1},   {-96, 1}, {INT32_MAX, 4}};
    for (const auto& r : rows) {
        EXPECT_EQ(PixelScale::ForDpi(r.dpi).Factor(), r.factor) << r.dpi << " DPI";
    }
}

TEST(PixelScaleRule, PointerPositionsGoBackToThePixelTheyLieIn) {
    const PixelScale two(2);
    const PixelScale three(3);
    const struct {
        const PixelScale* scale;
        int32_t screen;
        int32_t program;
    } rows[] = {{&two, 0, 0},   {&two, 1, 0},   {&two, 2, 1},   {&two, -1, -1},
                {&two, -2, -1}, {&two, -3, -2}, {&three, 8, 2}, {&three, -7, -3}};
    for (const auto& r : rows) {
        EXPECT_EQ(r.scale->Down(r.screen), r.program) << r.screen << " / " << r.scale->Factor();
    }
    EXPECT_EQ(three.Down(ScreenPoint{-1, 5}), (ScreenPoint{-1, 1}));
    EXPECT_EQ(three.Up(ScreenRect{-2, 1, 4, 5}), (ScreenRect{-6, 3, 12, 15}));
    EXPECT_EQ(three.Up(ScreenPoint{7, -1}), (ScreenPoint{21, -3}));
    EXPECT_EQ(PixelScale(9).Factor(), 4);
    EXPECT_EQ(PixelScale(0).Factor(), 1);
}

// A mask with holes, stairs and a run that touches both edges, enlarged both ways: the region's
// rectangles cover exactly the non-key pixels of the enlarged picture, each pixel once.
TEST(NearestNeighbourOutline, RunRectanglesAreTheEnlargedMask) {
    TestSurface mask(13, 9, 32);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 13; ++x) {
            const bool key = (x * 7 + y * 3) % 5 == 0 || (y == 4 && x > 2) || x == y;
            mask.Set32(x, y, key ? kKey : 0xFF000000u | static_cast<uint32_t>(x * 16 + y));
        }
    }
    mask.Set32(0, 8, 0x123456);
    const std::vector<PixelRun> runs = FindOpaqueRuns(mask.View(), 0, 0, 13, 9, kKey);
    for (int32_t s = 1; s <= 4; ++s) {
        TestSurface big(13 * s, 9 * s, 32, 0x77);
        ASSERT_TRUE(EnlargePixels(big.View(), 0, 0, mask.View(), 0, 0, 13, 9, s));
        std::vector<int> hits(static_cast<size_t>(13 * s * 9 * s), 0);
        for (const ScreenRect& r : ScaleRuns(runs, s)) {
            for (int32_t y = r.top; y < r.bottom; ++y) {
                for (int32_t x = r.left; x < r.right; ++x) {
                    ASSERT_TRUE(x >= 0 && x < 13 * s && y >= 0 && y < 9 * s);
                    hits[static_cast<size_t>(y * 13 * s + x)] += 1;
                }
            }
        }
        for (int y = 0; y < 9 * s; ++y) {
            for (int x = 0; x < 13 * s; ++x) {
                const bool opaque = (big.Get32(x, y) & 0xFFFFFFu) != kKey;
                ASSERT_EQ(hits[static_cast<size_t>(y * 13 * s + x)], opaque ? 1 : 0)
                    << "scale " << s << " at " << x << "," << y;
                ASSERT_EQ(big.Get32(x, y), mask.Get32(x / s, y / s));
            }
        }
    }
}

// Placements that cut blocks at every edge of either image: each destination pixel inside the
// enlarged rectangle and both images holds its source pixel, every other keeps its fill.
TEST(NearestNeighbourPixels, ClipsBlocksAtEveryEdgeOfBothImages) {
    const struct {
        int dx, dy, sx, sy, w, h, scale;
    } rows[] = {{0, 0, 0, 0, 6, 5, 3},   {-4, -2, 1, 1, 6, 5, 3}, {10, 7, 0, 0, 6, 5, 2},
                {3, 2, -2, -1, 6, 5, 4}, {1, 1, 4, 3, 6, 5, 2},   {-100, 0, 0, 0, 6, 5, 2},
                {2, 3, 0, 0, 0, 5, 3},   {0, 0, 0, 0, 6, 5, 0}};
    for (const auto& r : rows) {
        TestSurface src(6, 5, 32);
        TestSurface dst(17, 11, 32, 0x5A);
        src.Number32(0xA0);
        const uint32_t fill = dst.Get32(0, 0);
        ASSERT_TRUE(
            EnlargePixels(dst.View(), r.dx, r.dy, src.View(), r.sx, r.sy, r.w, r.h, r.scale));
        const int s = r.scale < 1 ? 1 : r.scale;
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 17; ++x) {
                const int i = x - r.dx;
                const int j = y - r.dy;
                const int fx = i >= 0 ? r.sx + i / s : -1;
                const int fy = j >= 0 ? r.sy + j / s : -1;
                const bool inside = i >= 0 && j >= 0 && i < r.w * s && j < r.h * s && fx >= 0 &&
                                    fx < 6 && fy >= 0 && fy < 5;
                EXPECT_EQ(dst.Get32(x, y), inside ? src.Get32(fx, fy) : fill)
                    << "row dx " << r.dx << " sx " << r.sx << " at " << x << "," << y;
            }
        }
    }
    TestSurface deep24(4, 4, 24);
    TestSurface deep32(4, 4, 32);
    EXPECT_FALSE(EnlargePixels(deep32.View(), 0, 0, deep24.View(), 0, 0, 2, 2, 2));
    EXPECT_FALSE(EnlargePixels(deep32.View(), 0, 0, deep32.View(), 0, 0, 2, 2, 2));
}
}  // namespace
