// The stray ant's walk on the screen, its heart's rise and the once-per-run appearance test.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "colony/Ant.h"
#include "colony/RandomGenerator.h"
#include "simulation/DesktopShare.h"
#include "simulation/StrayAnt.h"

namespace {
const int32_t kUnitX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
const int32_t kUnitY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

TEST(StrayAntResetTest, DrawsXThenYThenHeading) {
    RandomGenerator random;
    random.Seed(4242);
    const int32_t a = random.Next();
    const int32_t b = random.Next();
    const int32_t c = random.Next();
    random.Seed(4242);
    StrayAnt ant(1024, 768, random);
    EXPECT_EQ(ant.x, a % 1016);
    EXPECT_EQ(ant.y, b % 760);
    EXPECT_EQ(ant.direction, c % 8);
    EXPECT_EQ(ant.state, StrayWalking);
    EXPECT_EQ(ant.frame, 0);
    EXPECT_EQ(ant.age, 0);
}

TEST(StrayAntWalkTest, EachStepFollowsItsDraw) {
    RandomGenerator random;
    StrayAnt ant(1024, 768, random);
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        ant.x = 500;
        ant.y = 400;
        ant.direction = static_cast<int32_t>(seed % 8);
        ant.frame = static_cast<int32_t>(seed % 2);
        const int32_t d0 = ant.direction;
        const int32_t f0 = ant.frame;
        random.Seed(seed);
        const int32_t r = random.Next() % 10;
        const int32_t turnDraw = random.Next() % 3;
        random.Seed(seed);
        ant.Step(1024, 768, random);
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
    RandomGenerator random;
    random.Seed(99);
    StrayAnt ant(1024, 768, random);
    ant.x = 1010;
    ant.y = 5;
    int32_t maxX = 0;
    int32_t minY = 1 << 30;
    for (int frame = 0; frame < 200000; ++frame) {
        ant.Step(1024, 768, random);
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

// Found (held by the click), it stands where it was clicked, with its cell, yet draws exactly what
// a walking step would: a seeded run keeps its sequence. Its heart rises from that place, even
// when a step taken as the click came had moved it on.
TEST(StrayAntWalkTest, AHeldAntStandsStillDrawingWhatAWalkWouldAndRisesFromThere) {
    RandomGenerator random;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        StrayAnt walking(1024, 768, random);
        StrayAnt held(1024, 768, random);
        for (StrayAnt* ant : {&walking, &held}) {
            ant->x = 500;
            ant->y = 400;
            ant->direction = static_cast<int32_t>(seed % 8);
        }
        held.Hold(499, 401);
        random.Seed(seed);
        for (int k = 0; k < 5; ++k) {
            walking.Step(1024, 768, random);
        }
        const int32_t afterWalk = random.Next();
        random.Seed(seed);
        for (int k = 0; k < 5; ++k) {
            held.Step(1024, 768, random);
        }
        EXPECT_EQ(random.Next(), afterWalk) << "seed " << seed;
        EXPECT_EQ(held.x, 499);
        EXPECT_EQ(held.y, 401);
        EXPECT_EQ(held.direction, static_cast<int32_t>(seed % 8));
        EXPECT_EQ(held.frame, 0);
    }
    StrayAnt ant(1024, 768, random);
    ant.x = 520;  // a step went on after the click
    ant.y = 380;
    ant.Hold(500, 400);
    ant.state = StrayRising;
    ant.Step(1024, 768, random);
    EXPECT_EQ(ant.x, 501);  // the first frame of the rise, from the click
    EXPECT_EQ(ant.y, 399);
    ant.Reset(1024, 768, random);
    EXPECT_EQ(ant.held.load(), 0);
}

TEST(StrayAntRiseTest, ZigzagsUp49PixelsThenFinishes) {
    RandomGenerator random;
    StrayAnt ant(1024, 768, random);
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
            ant.Step(1024, 768, random);
            x += sideways[run];
            --y;
            ASSERT_EQ(ant.x, x) << "run " << run << " frame " << k;
            ASSERT_EQ(ant.y, y);
            ASSERT_EQ(ant.state, StrayRising);
        }
    }
    EXPECT_EQ(ant.y, 451);
    EXPECT_EQ(ant.x, 309);
    ant.Step(1024, 768, random);  // age 50
    EXPECT_EQ(ant.state, StrayFinished);
    EXPECT_EQ(ant.age, 0);
    EXPECT_EQ(ant.x, 309);
    EXPECT_EQ(ant.y, 451);
    ant.Step(1024, 768, random);  // finished: nothing moves
    EXPECT_EQ(ant.x, 309);
    EXPECT_EQ(ant.y, 451);
}

// Both threads draw from the run's generator; should their draws ever cross, between them they
// still take each step of the sequence exactly once.
TEST(StrayAntResetTest, TwoThreadsDrawingFromOneGeneratorTakeEveryStepOnce) {
    constexpr int kRounds = 100;
    constexpr int kPerRound = 1000;
    constexpr int kEach = kRounds * kPerRound;
    RandomGenerator random;
    random.Seed(20261208);
    std::vector<int32_t> drawn[2];
    std::atomic<int> arrived{0};
    // Both start each round together, so that their draws really cross even on a busy machine.
    auto draw = [&](std::vector<int32_t>& into) {
        into.reserve(kEach);
        for (int round = 1; round <= kRounds; ++round) {
            arrived.fetch_add(1);
            while (arrived.load() < 2 * round) {
            }
            for (int i = 0; i < kPerRound; ++i) {
                into.push_back(random.Next());
            }
        }
    };
    std::thread other(draw, std::ref(drawn[1]));
    draw(drawn[0]);
    other.join();
    RandomGenerator alone;
    alone.Seed(20261208);
    std::vector<int32_t> sequence;
    for (int i = 0; i < 2 * kEach; ++i) {
        sequence.push_back(alone.Next());
    }
    std::vector<int32_t> both = drawn[0];
    both.insert(both.end(), drawn[1].begin(), drawn[1].end());
    std::sort(both.begin(), both.end());
    std::sort(sequence.begin(), sequence.end());
    EXPECT_TRUE(both == sequence) << "a step was lost or taken twice";
    EXPECT_EQ(random.Next(), alone.Next());
}

// Two monitors side by side, the larger on the right, and one below the primary one.
const DesktopArea kTwoSideBySide({{0, 0, 1024, 768}, {1024, 0, 2304, 800}}, kAntCell);
const DesktopArea kOneBelow({{0, 0, 1024, 768}, {0, 768, 1280, 1568}}, kAntCell);

TEST(StrayAntDesktopTest, StartsWithTheSameThreeDrawsAnywhereOnTheMonitors) {
    RandomGenerator random;
    bool onSecond = false;
    for (uint32_t k = 1; k <= 200; ++k) {
        const uint32_t seed = k * 2654435761u;  // seeds far apart: their first draws differ
        random.Seed(seed);
        const int32_t a = random.Next();
        const int32_t b = random.Next();
        const int32_t c = random.Next();
        const int32_t next = random.Next();
        random.Seed(seed);
        StrayAnt ant(kTwoSideBySide, random);
        ASSERT_EQ((ScreenPoint{ant.x, ant.y}), kTwoSideBySide.StartPlace(a, b)) << seed;
        ASSERT_EQ(ant.direction, c % 8);
        ASSERT_EQ(random.Next(), next) << "the start took another number of draws";
        ASSERT_TRUE(kTwoSideBySide.Covers({ant.x, ant.y, ant.x + kAntCell, ant.y + kAntCell}));
        onSecond = onSecond || ant.x >= 1024;
    }
    EXPECT_TRUE(onSecond);
}

TEST(StrayAntDesktopTest, WalksAcrossButNeverIntoTheGap) {
    RandomGenerator random;
    random.Seed(7);
    StrayAnt ant(kTwoSideBySide, random);
    bool crossed[2] = {false, false};
    for (int frame = 0; frame < 100000; ++frame) {
        if (frame % 2000 == 0) {
            ant.x = 1020;  // back to the seam, just above the gap below the smaller monitor
            ant.y = 760 - (frame / 2000) % 40;
        }
        ant.Step(kTwoSideBySide, random);
        ASSERT_TRUE(kTwoSideBySide.Covers({ant.x, ant.y, ant.x + kAntCell, ant.y + kAntCell}))
            << ant.x << "," << ant.y;
        crossed[ant.x >= 1024 ? 1 : 0] = true;
    }
    EXPECT_TRUE(crossed[0] && crossed[1]);
}

TEST(StrayAntDesktopTest, TheHeartStopsAtTheTopOfItsOwnMonitor) {
    RandomGenerator random;
    const struct {
        const DesktopArea* desktop;
        ScreenPoint from;
        int32_t stopsAt;
    } cases[] = {
        {&kTwoSideBySide, {1500, 20}, 16},  // a second monitor level with the first
        {&kOneBelow, {100, 788}, 784},      // the one below: its own top, not the desktop's
        {&kOneBelow, {100, 20}, 16},        // the primary one
    };
    for (const auto& c : cases) {
        StrayAnt ant(*c.desktop, random);
        ant.x = c.from.x;
        ant.y = c.from.y;
        ant.state = StrayRising;
        ant.age = 0;
        for (int k = 0; k < 4; ++k) {
            ant.Step(*c.desktop, random);
            ASSERT_EQ(ant.state, StrayRising) << c.from.y;
        }
        ant.Step(*c.desktop, random);
        EXPECT_EQ(ant.y, c.stopsAt);
        EXPECT_EQ(ant.state, StrayFinished);
    }
}

TEST(DesktopShareTest, TheSimulationSideSeesOnlyWhatWasPublishedAndKeepsItsCopy) {
    DesktopShare share;
    EXPECT_FALSE(share.Published());
    share.Publish(kTwoSideBySide);
    EXPECT_TRUE(share.Published());
    const DesktopArea& current = share.Current();
    EXPECT_EQ(current.WorkAreas(), kTwoSideBySide.WorkAreas());
    share.Publish(kOneBelow);
    // The reference stays the simulation thread's own copy until it asks again.
    EXPECT_EQ(current.WorkAreas(), kTwoSideBySide.WorkAreas());
    EXPECT_EQ(share.Current().WorkAreas(), kOneBelow.WorkAreas());
}

// Shut while the delay runs (across a tick wrap too) or the windows are not ready, and drawing
// nothing meanwhile: a draw made too early would open it by chance.
TEST(StrayAntGateTest, StaysShutWithoutDrawingDuringTheDelayOrUntilTheWindowsAreReady) {
    RandomGenerator random;
    const struct {
        uint32_t runStart, delay, from, to, step;
        bool ready;
    } cases[] = {
        {1000, 10000, 1000, 11000, 10, true},
        {0, 0, 1, 999, 1, false},
        {0xFFFFF000u, 10000, 0x100, 0x100, 1, true},  // 0x1100 ms on, past the wrap
    };
    for (const auto& c : cases) {
        random.Seed(5);
        const int32_t expectedNext = random.Next();
        random.Seed(5);
        StrayAntGate gate(c.runStart, c.delay);
        for (uint32_t now = c.from; now <= c.to; now += c.step) {
            EXPECT_FALSE(gate.Opens(now, c.ready, random)) << now;
        }
        EXPECT_EQ(random.Next(), expectedNext) << c.runStart;
    }
}

TEST(StrayAntGateTest, OpensOnTheFirstDrawOfZeroAndNeverAgain) {
    RandomGenerator random;
    random.Seed(12345);
    int expectedFrame = -1;
    for (int frame = 0; frame < 100000; ++frame) {
        if (random.Next() % 100 == 0) {
            expectedFrame = frame;
            break;
        }
    }
    ASSERT_GE(expectedFrame, 0);
    random.Seed(12345);
    StrayAntGate gate(0, 10000);
    int opened = -1;
    int openings = 0;
    for (int frame = 0; frame < 100000; ++frame) {
        if (gate.Opens(10001u + static_cast<uint32_t>(frame), true, random)) {
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
    RandomGenerator random;
    random.Seed(3);
    StrayAntGate gate(500, 2000, 1);
    EXPECT_FALSE(gate.Opens(2500, true, random));  // exactly the delay is not yet past it
    EXPECT_TRUE(gate.Opens(2501, true, random));
    EXPECT_FALSE(gate.Opens(2502, true, random));
    EXPECT_FALSE(gate.MayAppear());
}

}  // namespace
