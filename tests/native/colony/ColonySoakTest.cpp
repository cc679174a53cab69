// A long run of the whole colony under the sanitizers: twenty thousand frames with the ball
// thrown every five hundred, checking that no ant ever enters the blocked band and that the
// mask only ever holds the four codes with the band intact.
#include <gtest/gtest.h>

#include "tests/native/colony/ScriptedWorld.h"

namespace {

int32_t BandOrBadCells(const FieldMask& mask) {
    int32_t bad = 0;
    for (int32_t y = 0; y < mask.Height(); ++y) {
        for (int32_t x = 0; x < mask.Width(); ++x) {
            const uint8_t code = mask.At(x, y);
            const bool band = x < 28 || y < 28 || x > mask.Width() - 29 || y > mask.Height() - 29;
            bad += (code > CellStrongTrail || (band && code != CellBlocked)) ? 1 : 0;
        }
    }
    return bad;
}

TEST(ColonySoak, TwentyThousandFramesWithThrowsKeepTheWorldSound) {
    ScriptedWorld world;
    ASSERT_TRUE(world.Start(31337, 455, 312));
    constexpr int32_t kFrames = 20000;
    int32_t committedSeen = 0;
    int32_t revived = 0;
    for (int32_t f = 0; f < kFrames; ++f) {
        world.Frame();
        for (int32_t i = 0; i < world.ants.Count(); ++i) {
            Ant* ant = world.ants.At(i);
            if (ant->active <= 0) {
                continue;
            }
            ASSERT_TRUE(world.mask.Contains(ant->x, ant->y)) << "frame " << f << " ant " << i;
            ASSERT_NE(world.mask.At(ant->x, ant->y), CellBlocked)
                << "frame " << f << " ant " << i << " at " << ant->x << "," << ant->y;
            ASSERT_GE(ant->direction, 0);
            ASSERT_LE(ant->direction, 7);
            ASSERT_TRUE(ant->frame == 0 || ant->frame == 1);
        }
        // Happy ants are sent walking again from the start corner so that all forty-nine keep
        // stressing the rules for the whole run.
        for (int32_t i = 1; i < world.ants.Count(); ++i) {
            Ant* ant = world.ants.At(i);
            if (ant->active == 0 && world.hearts.At(i)->visible == 0 &&
                world.hearts.At(i)->x != 0) {
                ant->active = 1;
                ant->x = 40 + world.shared.random.Next() % 60;
                ant->y = 40 + world.shared.random.Next() % 30;
                world.hearts.At(i)->x = 0;
                ++revived;
            }
        }
        if (f % 250 == 0 ||
            f % ScriptedWorld::kFramesPerThrow == ScriptedWorld::kFramesPerThrow - 1) {
            ASSERT_EQ(BandOrBadCells(world.mask), 0) << "frame " << f;
            int32_t trailCells = 0;
            for (int32_t c = 0; c < 455 * 312; ++c) {
                trailCells += world.mask.Cells()[c] >= CellTrail ? 1 : 0;
            }
            committedSeen += trailCells > 0 ? 1 : 0;
        }
    }
    ASSERT_EQ(BandOrBadCells(world.mask), 0);
    // The run really exercised arrivals: trails were committed and ants reached the goal.
    EXPECT_GT(committedSeen, 0);
    EXPECT_GT(world.happyCount, 0);
    EXPECT_GT(revived, 0);
}

}  // namespace
