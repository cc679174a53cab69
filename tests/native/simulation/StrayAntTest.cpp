// The stray ant's walk on the screen, its heart's rise and the once-per-run appearance test.
#include <gtest/gtest.h>

#include "colony/Ant.h"
#include "colony/Random.h"
#include "simulation/StrayAnt.h"

namespace {
const int32_t kUnitX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
const int32_t kUnitY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

TEST(StrayAntResetTest, DrawsXThenYThenHeading) {
    SeedRandom(4242);
    const int32_t a = Random();
    const int32_t b = Random();
    const int32_t c = Random();
    SeedRandom(4242);
    StrayAnt ant(1024, 768);
    EXPECT_EQ(ant.x, a % 1016);
    EXPECT_EQ(ant.y, b % 760);
    EXPECT_EQ(ant.direction, c % 8);
    EXPECT_EQ(ant.state, StrayWalking);
    EXPECT_EQ(ant.frame, 0);
    EXPECT_EQ(ant.age, 0);
}

TEST(StrayAntAdvanceTest, MovesOnePixelPerHeading) {
    for (int32_t d = 0; d < 8; ++d) {
        int32_t x = 50;
        int32_t y = 60;
        StrayAnt::Advance(d, x, y);
        EXPECT_EQ(x, 50 + kUnitX[d]) << d;
        EXPECT_EQ(y, 60 + kUnitY[d]) << d;
    }
}

TEST(StrayAntWalkTest, EachStepFollowsItsDraw) {
    StrayAnt ant(1024, 768);
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        ant.x = 500;
        ant.y = 400;
        ant.direction = static_cast<int32_t>(seed % 8);
        ant.frame = static_cast<int32_t>(seed % 2);
        const int32_t d0 = ant.direction;
        const int32_t f0 = ant.frame;
        SeedRandom(seed);
        const int32_t r = Random() % 10;
        const int32_t turnDraw = Random() % 3;
        SeedRandom(seed);
        ant.Step(1024, 768);
        const bool turns = r == 0 || r >= 8;
        const bool moves = r <= 6;
        const int32_t d1 = turns ? TurnChoices[d0][turnDraw] : d0;
        EXPECT_EQ(ant.direction, d1) << "seed " << seed;
        EXPECT_EQ(ant.x, moves ? 500 + kUnitX[d1] : 500) << "seed " << seed;
        EXPECT_EQ(ant.y, moves ? 400 + kUnitY[d1] : 400) << "seed " << seed;
        EXPECT_EQ(ant.frame, 1 - f0);
    }
}

TEST(StrayAntWalkTest, StaysOnA1024WideScreen) {
    SeedRandom(99);
    StrayAnt ant(1024, 768);
    ant.x = 1010;
    ant.y = 5;
    int32_t maxX = 0;
    int32_t minY = 1 << 30;
    for (int frame = 0; frame < 200000; ++frame) {
        ant.Step(1024, 768);
        ASSERT_GE(ant.x, 0);
        ASSERT_LE(ant.x, 1016);
        ASSERT_GE(ant.y, 0);
        ASSERT_LE(ant.y, 760);
        maxX = ant.x > maxX ? ant.x : maxX;
        minY = ant.y < minY ? ant.y : minY;
        if (frame % 5000 == 0) {
            ant.x = 1012;  // push it back against the right edge now and then
        }
    }
    EXPECT_EQ(maxX, 1016);
    EXPECT_EQ(minY, 0);
}

TEST(StrayAntRiseTest, ZigzagsUp49PixelsThenFinishes) {
    StrayAnt ant(1024, 768);
    ant.x = 300;
    ant.y = 500;
    ant.state = StrayRising;
    ant.age = 0;
    const int32_t runs[] = {9, 10, 10, 10, 10};
    const int32_t sideways[] = {1, -1, 1, -1, 1};
    int32_t x = 300;
    int32_t y = 500;
    for (int run = 0; run < 5; ++run) {
        for (int32_t k = 0; k < runs[run]; ++k) {
            ant.Step(1024, 768);
            x += sideways[run];
            --y;
            ASSERT_EQ(ant.x, x) << "run " << run << " frame " << k;
            ASSERT_EQ(ant.y, y);
            ASSERT_EQ(ant.state, StrayRising);
        }
    }
    EXPECT_EQ(ant.y, 451);
    EXPECT_EQ(ant.x, 309);
    ant.Step(1024, 768);  // age 50
    EXPECT_EQ(ant.state, StrayFinished);
    EXPECT_EQ(ant.age, 0);
    EXPECT_EQ(ant.x, 309);
    EXPECT_EQ(ant.y, 451);
    ant.Step(1024, 768);  // finished: nothing moves
    EXPECT_EQ(ant.x, 309);
    EXPECT_EQ(ant.y, 451);
}

TEST(StrayAntRiseTest, StopsAtTheTopOfTheScreen) {
    StrayAnt ant(1024, 768);
    ant.x = 10;
    ant.y = 20;
    ant.state = StrayRising;
    ant.age = 0;
    for (int k = 0; k < 4; ++k) {
        ant.Step(1024, 768);
        EXPECT_EQ(ant.state, StrayRising);
    }
    ant.Step(1024, 768);
    EXPECT_EQ(ant.y, 16);
    EXPECT_EQ(ant.state, StrayFinished);
}

TEST(StrayAntGateTest, StaysShutDuringTheDelayWithoutDrawing) {
    SeedRandom(5);
    const int32_t expectedNext = Random();
    SeedRandom(5);
    StrayAntGate gate(1000, 10000);
    for (uint32_t now = 1000; now <= 11000; now += 10) {
        EXPECT_FALSE(gate.Opens(now, true));
    }
    EXPECT_EQ(Random(), expectedNext);  // nothing was drawn
}

TEST(StrayAntGateTest, StaysShutUntilTheWindowsAreReady) {
    SeedRandom(6);
    const int32_t expectedNext = Random();
    SeedRandom(6);
    StrayAntGate gate(0, 0);
    for (uint32_t now = 1; now < 1000; ++now) {
        EXPECT_FALSE(gate.Opens(now, false));
    }
    EXPECT_EQ(Random(), expectedNext);
}

TEST(StrayAntGateTest, OpensOnTheFirstDrawOfZeroAndNeverAgain) {
    SeedRandom(12345);
    int expectedFrame = -1;
    for (int frame = 0; frame < 100000; ++frame) {
        if (Random() % 100 == 0) {
            expectedFrame = frame;
            break;
        }
    }
    ASSERT_GE(expectedFrame, 0);
    SeedRandom(12345);
    StrayAntGate gate(0, 10000);
    int opened = -1;
    int openings = 0;
    for (int frame = 0; frame < 100000; ++frame) {
        if (gate.Opens(10001u + static_cast<uint32_t>(frame), true)) {
            ++openings;
            if (opened < 0) {
                opened = frame;
            }
        }
    }
    EXPECT_EQ(opened, expectedFrame);
    EXPECT_EQ(openings, 1);
    EXPECT_FALSE(gate.MayAppear());
}

TEST(StrayAntGateTest, AChanceOfOneInOneOpensOnTheFirstFrameAfterTheDelay) {
    SeedRandom(3);
    StrayAntGate gate(500, 2000, 1);
    EXPECT_FALSE(gate.Opens(2500, true));  // exactly the delay is not yet past it
    EXPECT_TRUE(gate.Opens(2501, true));
    EXPECT_FALSE(gate.Opens(2502, true));
    EXPECT_FALSE(gate.MayAppear());
}

TEST(StrayAntGateTest, CountsTheDelayAcrossATickWrap) {
    SeedRandom(1);
    StrayAntGate gate(0xFFFFF000u, 10000);
    // 0x1000 + 0x100 ms later: still inside the delay.
    for (int k = 0; k < 500; ++k) {
        EXPECT_FALSE(gate.Opens(0x100u, true));
    }
}
}  // namespace
