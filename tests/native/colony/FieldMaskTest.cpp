// The walkable field mask: the band and interior for the field sizes the program meets, the
// wipe of trail cells on rebuild, and the sizes that are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "colony/FieldMask.h"

namespace {

// How many of the mask's cells hold this code.
int64_t CellsOf(const FieldMask& mask, uint8_t code) {
    return std::count(mask.Cells(), mask.Cells() + int64_t{mask.Width()} * mask.Height(), code);
}

bool InInterior(const FieldMask& mask, int32_t x, int32_t y) {
    return x >= 28 && y >= 28 && x <= mask.Width() - 29 && y <= mask.Height() - 29;
}

void ExpectBandAndInterior(const FieldMask& mask) {
    int wrong = 0;
    for (int32_t y = 0; y < mask.Height(); ++y) {
        for (int32_t x = 0; x < mask.Width(); ++x) {
            const uint8_t want = InInterior(mask, x, y) ? CellFree : CellBlocked;
            wrong += mask.At(x, y) == want ? 0 : 1;
        }
    }
    EXPECT_EQ(wrong, 0) << mask.Width() << "x" << mask.Height();
}

// Each size is built over a mask full of trail cells, so the rebuild must wipe them all: the
// smallest replacement field, the default one, and the two smallest fields the build accepts
// (56 x 56 is all band, 57 x 57 has exactly one free cell).
TEST(FieldMaskBuild, BandAndInteriorForEveryFieldSizeWipingOldTrails) {
    const struct {
        int32_t width, height, free;
    } sizes[] = {{200, 200, 144 * 144},
                 {455, 312, (426 - 28 + 1) * (283 - 28 + 1)},
                 {56, 56, 0},
                 {57, 57, 1}};
    FieldMask mask;
    for (const auto& size : sizes) {
        ASSERT_TRUE(mask.Allocate(size.width, size.height));
        for (int32_t i = 0; i < size.width * size.height; ++i) {
            mask.Cells()[i] = (i % 2 == 0) ? CellTrail : CellStrongTrail;
        }
        ASSERT_TRUE(BuildWalkMask(mask));
        ExpectBandAndInterior(mask);
        EXPECT_EQ(CellsOf(mask, CellFree), size.free) << size.width << "x" << size.height;
    }
}

TEST(FieldMaskBuild, TooSmallOrEmptyMasksAreRefusedUntouched) {
    FieldMask mask;
    EXPECT_FALSE(BuildWalkMask(mask)) << "nothing allocated";
    for (const auto& size : {std::pair<int32_t, int32_t>{55, 200}, {200, 55}, {1, 1}}) {
        ASSERT_TRUE(mask.Allocate(size.first, size.second));
        std::fill(mask.Cells(), mask.Cells() + size.first * size.second, uint8_t{7});
        EXPECT_FALSE(BuildWalkMask(mask));
        EXPECT_EQ(CellsOf(mask, 7), size.first * size.second) << size.first << "x" << size.second;
    }
}

TEST(FieldMaskAllocate, ExactZeroFilledSizeAndLargePictures) {
    FieldMask mask;
    ASSERT_TRUE(mask.Allocate(455, 312));
    ASSERT_TRUE(BuildWalkMask(mask));
    ASSERT_TRUE(mask.Allocate(300, 220));
    EXPECT_EQ(mask.Width(), 300);
    EXPECT_EQ(mask.Height(), 220);
    EXPECT_EQ(CellsOf(mask, 0), 300 * 220) << "a new mask starts zero-filled";
    ASSERT_TRUE(BuildWalkMask(mask));
    ExpectBandAndInterior(mask);

    // The largest field the pictures allow has its mask too, band and all.
    ASSERT_TRUE(mask.Allocate(kMaxImageSide, kMaxImageSide));
    ASSERT_TRUE(BuildWalkMask(mask));
    ExpectBandAndInterior(mask);
}

TEST(FieldMaskAllocate, ImpossibleSizesLeaveAnEmptyMask) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const std::pair<int32_t, int32_t> sizes[] = {{0, 100},  {100, 0},     {-1, 100},
                                                 {100, -5}, {kMax, kMax}, {100000, 100000},
                                                 {kMax, 2}, {4097, 200},  {200, 4097}};
    for (const auto& size : sizes) {
        FieldMask mask;
        ASSERT_TRUE(mask.Allocate(200, 200));
        EXPECT_FALSE(mask.Allocate(size.first, size.second)) << size.first << "x" << size.second;
        EXPECT_TRUE(mask.Empty());
        EXPECT_EQ(mask.Width(), 0);
        EXPECT_EQ(mask.Height(), 0);
        EXPECT_FALSE(BuildWalkMask(mask));
    }
    FieldMask mask;
    ASSERT_TRUE(mask.Allocate(200, 200));
    mask.Free();
    EXPECT_TRUE(mask.Empty());
    EXPECT_EQ(mask.CellOrBlocked(0, 0), CellBlocked) << "an empty mask reads as blocked";
}

TEST(FieldMaskAllocate, OutsideCellsReadAsBlocked) {
    FieldMask mask;
    ASSERT_TRUE(mask.Allocate(60, 60));
    ASSERT_TRUE(BuildWalkMask(mask));
    mask.At(30, 30) = CellStrongTrail;
    EXPECT_EQ(mask.CellOrBlocked(30, 30), CellStrongTrail);
    EXPECT_EQ(mask.CellOrBlocked(-1, 30), CellBlocked);
    EXPECT_EQ(mask.CellOrBlocked(30, 60), CellBlocked);
    EXPECT_EQ(mask.CellOrBlocked(60, 0), CellBlocked);
}

}  // namespace
