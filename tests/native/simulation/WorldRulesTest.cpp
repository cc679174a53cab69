// The lens view, the ball's flight, the clamps after a new field, the placement of goal and ball,
// the clipping of copies and the frame wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "colony/RandomGenerator.h"
#include "simulation/WorldRules.h"

namespace {
constexpr int32_t kW = 455;  // the default field
constexpr int32_t kH = 312;

// The lens looks at the 200 x 200 square centred on the ball, kept inside the field; its lowest
// row stops one short (h - 201), but never above row 0 for a field exactly 200 high.
TEST(FollowViewTest, CentresOnTheBallAndKeepsInsideWithTheLowRowQuirk) {
    const struct {
        int32_t ballX, ballY, w, h, x, y;
    } rows[] = {{kW - 50, 150, kW, kH, kW - 200, 50},
                {150, kH - 50, kW, kH, 50, kH - 201},
                {kW - 100, kH - 100, kW, kH, kW - 200, kH - 201},
                {180, 130, kW, kH, 80, 30},
                {99, 99, kW, kH, 0, 0},
                {100, 100, kW, kH, 0, 0},
                {101, 101, kW, kH, 1, 1},
                {150, 150, 200, 200, 0, 0},
                {950, 190, 1000, 201, 800, 0}};
    for (const auto& r : rows) {
        const ViewOrigin view = WorldRules::FollowView(r.ballX, r.ballY, r.w, r.h);
        EXPECT_EQ(view.x, r.x) << r.ballX << "," << r.ballY << " in " << r.w << "x" << r.h;
        EXPECT_EQ(view.y, r.y) << r.ballX << "," << r.ballY << " in " << r.w << "x" << r.h;
    }
}

TEST(ClampViewTest, KeepsTheViewInsideAfterTheFieldShrank) {
    const struct {
        ViewOrigin from, to;
    } rows[] = {{{255, 112}, {100, 50}}, {{-5, -1}, {0, 0}}, {{40, 30}, {40, 30}}};
    for (const auto& r : rows) {
        const ViewOrigin view = WorldRules::ClampView(r.from, 300, 250);
        EXPECT_EQ(view.x, r.to.x) << r.from.x;
        EXPECT_EQ(view.y, r.to.y) << r.from.y;
    }
}

int FramesUntilStop(BallFlight& ball, int32_t angle, int32_t w, int32_t h) {
    int frames = 0;
    while (ball.flying != 0 && frames < 100) {
        WorldRules::FlyBall(ball, angle, w, h);
        ++frames;
    }
    return frames;
}

TEST(BallFlightTest, ThrowAtFiftyTravels338PixelsOver13Frames) {
    BallFlight ball{100, 200, 50, 1};
    const int32_t steps[] = {50, 46, 42, 38, 34, 30, 26, 22, 18, 14, 10, 6, 2};
    int32_t expectedX = 100;
    for (int32_t step : steps) {
        ASSERT_EQ(ball.flying, 1);
        WorldRules::FlyBall(ball, 0, 1000, 1000);
        expectedX += step;
        EXPECT_EQ(ball.x, expectedX);
        EXPECT_EQ(ball.y, 200);
    }
    EXPECT_EQ(ball.flying, 0);
    EXPECT_EQ(ball.x - 100, 338);
    BallFlight again{100, 200, 50, 1};
    EXPECT_EQ(FramesUntilStop(again, 0, 1000, 1000), 13);
}

TEST(BallFlightTest, ThrowAtFourMovesFourAndStopsInTheSameFrame) {
    BallFlight ball{100, 120, 4, 1};
    WorldRules::FlyBall(ball, 0, kW, kH);
    EXPECT_EQ(ball.x, 104);
    EXPECT_EQ(ball.speed, 0);
    EXPECT_EQ(ball.flying, 0);
}

TEST(BallFlightTest, StopsAtTheMarginsWithTheFlightCleared) {
    const struct {
        BallFlight from;
        int32_t angle, x, y;
    } rows[] = {{{60, 150, 50, 1}, 180, 36, 150},
                {{kW - 50, 150, 30, 1}, 0, kW - 36, 150},
                {{200, kH - 40, 20, 1}, 90, 200, kH - 36},
                {{200, 50, 20, 1}, 270, 200, 36}};
    for (const auto& r : rows) {
        BallFlight ball = r.from;
        WorldRules::FlyBall(ball, r.angle, kW, kH);
        EXPECT_EQ(ball.x, r.x) << r.angle;
        EXPECT_EQ(ball.y, r.y) << r.angle;
        EXPECT_EQ(ball.flying, 0) << r.angle;
    }
}

TEST(BallFlightTest, DiagonalStepsAreTruncatedTowardZero) {
    // 20 * cos 45 = 14.14..., 20 * sin 135 = 14.14..., 20 * cos 135 = -14.14...
    BallFlight ball{200, 150, 20, 1};
    WorldRules::FlyBall(ball, 135, kW, kH);
    EXPECT_EQ(ball.x, 186);
    EXPECT_EQ(ball.y, 164);
    EXPECT_EQ(ball.speed, 16);
    EXPECT_EQ(ball.flying, 1);
}

TEST(ClampBallTest, PullsTheBallInFromTheRightAndBottomOnly) {
    int32_t x = 420;
    int32_t y = 300;
    WorldRules::ClampBall(x, y, 250, 220);
    EXPECT_EQ(x, 214);
    EXPECT_EQ(y, 184);
    int32_t sx = 40;
    int32_t sy = 37;
    WorldRules::ClampBall(sx, sy, 250, 220);
    EXPECT_EQ(sx, 40);
    EXPECT_EQ(sy, 37);
}

// The smallest and largest x and y a placement gives over five thousand seeds.
std::array<int32_t, 4> RangeOverSeeds(
    const std::function<void(RandomGenerator&, int32_t&, int32_t&)>& place) {
    std::array<int32_t, 4> range{1 << 30, 0, 1 << 30, 0};
    RandomGenerator random;
    for (uint32_t seed = 1; seed <= 5000; ++seed) {
        random.Seed(seed);
        int32_t x = 0;
        int32_t y = 0;
        place(random, x, y);
        range = {std::min(range[0], x), std::max(range[1], x), std::min(range[2], y),
                 std::max(range[3], y)};
    }
    return range;
}

TEST(PlacementTest, GoalInTheLowerRightQuarterAndBallInTheTopLeftDrawingXThenY) {
    EXPECT_EQ(RangeOverSeeds([](RandomGenerator& random, int32_t& x, int32_t& y) {
                  WorldRules::PlaceGoal(random, kW, kH, x, y);
              }),
              (std::array<int32_t, 4>{227, 393, 156, 251}));
    EXPECT_EQ(RangeOverSeeds([](RandomGenerator& random, int32_t& x, int32_t& y) {
                  WorldRules::PlaceBall(random, x, y);
              }),
              (std::array<int32_t, 4>{36, 149, 36, 179}));
    RandomGenerator random;
    random.Seed(777);
    const int32_t first = random.Next();
    const int32_t second = random.Next();
    int32_t x = 0;
    int32_t y = 0;
    random.Seed(777);
    WorldRules::PlaceGoal(random, 640, 480, x, y);
    EXPECT_EQ(x, first % 260 + 320);
    EXPECT_EQ(y, second % 180 + 240);
    random.Seed(777);
    WorldRules::PlaceBall(random, x, y);
    EXPECT_EQ(x, std::max(first % 150, 36));
    EXPECT_EQ(y, std::max(second % 180, 36));
}

std::array<int32_t, 8> Fields(const SpriteCopy& c) {
    return {c.dx, c.dy, c.w, c.h, c.sx, c.sy, c.mx, c.my};
}

// Inside copies are left alone; overhanging ones are cut with their sources following; copies
// wholly outside or empty copy nothing.
TEST(ClipTest, CopiesAreCutToTheDestinationWithTheirSourcesFollowing) {
    const struct {
        SpriteCopy from;
        int32_t w, h;
        bool any;
        std::array<int32_t, 8> to;
    } rows[] = {{{10, 20, 8, 8, 16, 0, 16, 8}, kW, kH, true, {10, 20, 8, 8, 16, 0, 16, 8}},
                {{-3, -5, 16, 16, 0, 0, 0, 16}, 200, 200, true, {0, 0, 13, 11, 3, 5, 3, 21}},
                {{195, 190, 16, 16, 0, 0, 0, 16}, 200, 200, true, {195, 190, 5, 10, 0, 0, 0, 16}},
                {{10, 300, 16, 16, 0, 0, 0, 16}, 200, 200, false, {}},
                {{-16, 10, 16, 16, 0, 0, 0, 16}, 200, 200, false, {}},
                {{10, 10, 0, 16, 0, 0, 0, 16}, 200, 200, false, {}}};
    for (const auto& r : rows) {
        SpriteCopy copy = r.from;
        ASSERT_EQ(WorldRules::ClipToDestination(copy, r.w, r.h), r.any) << r.from.dx;
        if (r.any) {
            EXPECT_EQ(Fields(copy), r.to) << r.from.dx;
        }
    }
}

TEST(RemainingWaitTest, WaitsOutTheRestOfTheMinimumPeriod) {
    EXPECT_EQ(WorldRules::RemainingWait(1030, 1000, 80), 50u);
    EXPECT_EQ(WorldRules::RemainingWait(1080, 1000, 80), 0u);
    EXPECT_EQ(WorldRules::RemainingWait(1200, 1000, 80), 0u);
    EXPECT_EQ(WorldRules::RemainingWait(1010, 1000, 0), 0u);
    // The tick counter wrapped between the frame start and now: 32 ms have passed.
    EXPECT_EQ(WorldRules::RemainingWait(0x10u, 0xFFFFFFF0u, 80), 48u);
}
}  // namespace
