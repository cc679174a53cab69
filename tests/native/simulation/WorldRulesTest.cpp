// The lens view, the ball's flight, the clamps after a new field, the placement of goal and ball,
// the clipping of copies and the frame wait.
#include <gtest/gtest.h>

#include <algorithm>

#include "colony/Random.h"
#include "simulation/WorldRules.h"

namespace {
constexpr int32_t kW = 455;  // the default field
constexpr int32_t kH = 312;

TEST(FollowViewTest, CentresOnTheBallAndKeepsInsideWithTheLowRowQuirk) {
    EXPECT_EQ(WorldRules::FollowView(kW - 50, 150, kW, kH).x, kW - 200);
    EXPECT_EQ(WorldRules::FollowView(150, kH - 50, kW, kH).y, kH - 201);
    EXPECT_EQ(WorldRules::FollowView(kW - 100, kH - 100, kW, kH).x, kW - 200);
    EXPECT_EQ(WorldRules::FollowView(kW - 100, kH - 100, kW, kH).y, kH - 201);
    const ViewOrigin middle = WorldRules::FollowView(180, 130, kW, kH);
    EXPECT_EQ(middle.x, 80);
    EXPECT_EQ(middle.y, 30);
    const ViewOrigin corner = WorldRules::FollowView(99, 99, kW, kH);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
    const ViewOrigin edge = WorldRules::FollowView(100, 100, kW, kH);
    EXPECT_EQ(edge.x, 0);
    EXPECT_EQ(edge.y, 0);
    EXPECT_EQ(WorldRules::FollowView(101, 101, kW, kH).x, 1);
}

TEST(FollowViewTest, NeverLooksAboveTheFirstRowOfAFieldExactly200High) {
    // 200 - 201 would be row -1.
    const ViewOrigin view = WorldRules::FollowView(150, 150, 200, 200);
    EXPECT_EQ(view.x, 0);
    EXPECT_EQ(view.y, 0);
    const ViewOrigin wide = WorldRules::FollowView(950, 190, 1000, 201);
    EXPECT_EQ(wide.x, 800);
    EXPECT_EQ(wide.y, 0);
}

TEST(ClampViewTest, KeepsTheViewInsideAfterTheFieldShrank) {
    const ViewOrigin pulled = WorldRules::ClampView({255, 112}, 300, 250);
    EXPECT_EQ(pulled.x, 100);
    EXPECT_EQ(pulled.y, 50);
    const ViewOrigin negative = WorldRules::ClampView({-5, -1}, 300, 250);
    EXPECT_EQ(negative.x, 0);
    EXPECT_EQ(negative.y, 0);
    const ViewOrigin inside = WorldRules::ClampView({40, 30}, 300, 250);
    EXPECT_EQ(inside.x, 40);
    EXPECT_EQ(inside.y, 30);
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
    BallFlight left{60, 150, 50, 1};
    WorldRules::FlyBall(left, 180, kW, kH);
    EXPECT_EQ(left.x, 36);
    EXPECT_EQ(left.flying, 0);

    BallFlight right{kW - 50, 150, 30, 1};
    WorldRules::FlyBall(right, 0, kW, kH);
    EXPECT_EQ(right.x, kW - 36);
    EXPECT_EQ(right.flying, 0);

    BallFlight down{200, kH - 40, 20, 1};
    WorldRules::FlyBall(down, 90, kW, kH);
    EXPECT_EQ(down.y, kH - 36);
    EXPECT_EQ(down.flying, 0);

    BallFlight up{200, 50, 20, 1};
    WorldRules::FlyBall(up, 270, kW, kH);
    EXPECT_EQ(up.y, 36);
    EXPECT_EQ(up.flying, 0);
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

TEST(PlacementTest, GoalLiesInTheLowerRightQuarterOverManySeeds) {
    int32_t minX = 1 << 30, maxX = 0, minY = 1 << 30, maxY = 0;
    for (uint32_t seed = 1; seed <= 5000; ++seed) {
        SeedRandom(seed);
        int32_t gx = 0;
        int32_t gy = 0;
        WorldRules::PlaceGoal(kW, kH, gx, gy);
        minX = std::min(minX, gx);
        maxX = std::max(maxX, gx);
        minY = std::min(minY, gy);
        maxY = std::max(maxY, gy);
    }
    EXPECT_EQ(minX, 227);
    EXPECT_EQ(maxX, 393);
    EXPECT_EQ(minY, 156);
    EXPECT_EQ(maxY, 251);
}

TEST(PlacementTest, GoalDrawsXThenY) {
    SeedRandom(777);
    const int32_t first = Random();
    const int32_t second = Random();
    SeedRandom(777);
    int32_t gx = 0;
    int32_t gy = 0;
    WorldRules::PlaceGoal(640, 480, gx, gy);
    EXPECT_EQ(gx, first % 260 + 320);
    EXPECT_EQ(gy, second % 180 + 240);
}

TEST(PlacementTest, BallStartsInsideTheTopLeftOverManySeeds) {
    int32_t minX = 1 << 30, maxX = 0, minY = 1 << 30, maxY = 0;
    for (uint32_t seed = 1; seed <= 5000; ++seed) {
        SeedRandom(seed);
        int32_t bx = 0;
        int32_t by = 0;
        WorldRules::PlaceBall(bx, by);
        minX = std::min(minX, bx);
        maxX = std::max(maxX, bx);
        minY = std::min(minY, by);
        maxY = std::max(maxY, by);
    }
    EXPECT_EQ(minX, 36);
    EXPECT_EQ(maxX, 149);
    EXPECT_EQ(minY, 36);
    EXPECT_EQ(maxY, 179);

    SeedRandom(31337);
    const int32_t first = Random();
    const int32_t second = Random();
    SeedRandom(31337);
    int32_t bx = 0;
    int32_t by = 0;
    WorldRules::PlaceBall(bx, by);
    EXPECT_EQ(bx, std::max(first % 150, 36));
    EXPECT_EQ(by, std::max(second % 180, 36));
}

TEST(ClipTest, CopiesInsideAreLeftAlone) {
    SpriteCopy copy{10, 20, 8, 8, 16, 0, 16, 8};
    ASSERT_TRUE(WorldRules::ClipToDestination(copy, kW, kH));
    EXPECT_EQ(copy.dx, 10);
    EXPECT_EQ(copy.dy, 20);
    EXPECT_EQ(copy.w, 8);
    EXPECT_EQ(copy.h, 8);
    EXPECT_EQ(copy.sx, 16);
    EXPECT_EQ(copy.my, 8);
}

TEST(ClipTest, OverhangingCopiesAreCutAndTheirSourcesFollow) {
    SpriteCopy topLeft{-3, -5, 16, 16, 0, 0, 0, 16};
    ASSERT_TRUE(WorldRules::ClipToDestination(topLeft, 200, 200));
    EXPECT_EQ(topLeft.dx, 0);
    EXPECT_EQ(topLeft.dy, 0);
    EXPECT_EQ(topLeft.w, 13);
    EXPECT_EQ(topLeft.h, 11);
    EXPECT_EQ(topLeft.sx, 3);
    EXPECT_EQ(topLeft.sy, 5);
    EXPECT_EQ(topLeft.mx, 3);
    EXPECT_EQ(topLeft.my, 21);

    SpriteCopy bottomRight{195, 190, 16, 16, 0, 0, 0, 16};
    ASSERT_TRUE(WorldRules::ClipToDestination(bottomRight, 200, 200));
    EXPECT_EQ(bottomRight.w, 5);
    EXPECT_EQ(bottomRight.h, 10);
    EXPECT_EQ(bottomRight.sx, 0);
    EXPECT_EQ(bottomRight.my, 16);
}

TEST(ClipTest, CopiesEntirelyOutsideOrEmptyCopyNothing) {
    SpriteCopy below{10, 300, 16, 16, 0, 0, 0, 16};
    EXPECT_FALSE(WorldRules::ClipToDestination(below, 200, 200));
    SpriteCopy left{-16, 10, 16, 16, 0, 0, 0, 16};
    EXPECT_FALSE(WorldRules::ClipToDestination(left, 200, 200));
    SpriteCopy empty{10, 10, 0, 16, 0, 0, 0, 16};
    EXPECT_FALSE(WorldRules::ClipToDestination(empty, 200, 200));
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
