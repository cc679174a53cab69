// The pointer arithmetic of the magnifier: ball in the lens, grab bounds, pan clamps, throws.
#include "shell/PointerRules.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TEST(BallLensCoordinate, FollowsTheViewInTheMiddleAndAtBothEdges) {
    // A field of 455: the view is centred on the ball between 100 and 355.
    EXPECT_EQ(BallLensCoordinate(227, 455), 100);
    EXPECT_EQ(BallLensCoordinate(100, 455), 100);
    EXPECT_EQ(BallLensCoordinate(355, 455), 100);  // not yet past FieldWidth - 100
    // Near the left edge the view stops at 0 and the ball moves in the lens.
    EXPECT_EQ(BallLensCoordinate(99, 455), 99);
    EXPECT_EQ(BallLensCoordinate(36, 455), 36);
    // Near the right edge the view stops at FieldWidth - 200.
    EXPECT_EQ(BallLensCoordinate(356, 455), 356 - 255);
    EXPECT_EQ(BallLensCoordinate(419, 455), 164);
}

TEST(BallGrabHit, BoundsAreIncludedAndAsymmetricDown) {
    const int bx = 100;
    const int by = 100;
    EXPECT_TRUE(BallGrabHit(92, 100, bx, by));
    EXPECT_TRUE(BallGrabHit(108, 100, bx, by));
    EXPECT_FALSE(BallGrabHit(91, 100, bx, by));
    EXPECT_FALSE(BallGrabHit(109, 100, bx, by));
    EXPECT_TRUE(BallGrabHit(100, 91, bx, by));
    EXPECT_TRUE(BallGrabHit(100, 107, bx, by));
    EXPECT_FALSE(BallGrabHit(100, 90, bx, by));
    EXPECT_FALSE(BallGrabHit(100, 108, bx, by));
    EXPECT_TRUE(BallGrabHit(92, 91, bx, by));
    EXPECT_FALSE(BallGrabHit(91, 90, bx, by));
}

TEST(FreeViewStart, TakesOverTheViewThatWasShown) {
    EXPECT_EQ(FreeViewStart(227, 455), 127);
    EXPECT_EQ(FreeViewStart(99, 455), 0);
    EXPECT_EQ(FreeViewStart(100, 455), 0);
    // At exactly FieldWidth - 100 the start already sits at the far edge (>=, not >).
    EXPECT_EQ(FreeViewStart(355, 455), 255);
    EXPECT_EQ(FreeViewStart(354, 455), 254);
    EXPECT_EQ(FreeViewStart(212, 312), 112);  // y: the first move then holds it to 111
}

TEST(PanClamp, StopsAtZeroAndAtTheFarEdges) {
    EXPECT_EQ(ClampPanX(-5, 455), 0);
    EXPECT_EQ(ClampPanX(0, 455), 0);
    EXPECT_EQ(ClampPanX(255, 455), 255);
    EXPECT_EQ(ClampPanX(256, 455), 255);
    EXPECT_EQ(ClampPanX(1000, 455), 255);
    EXPECT_EQ(ClampPanY(-1, 312), 0);
    EXPECT_EQ(ClampPanY(111, 312), 111);
    EXPECT_EQ(ClampPanY(112, 312), 111);  // FieldHeight - 201, not 200
    EXPECT_EQ(ClampPanY(5000, 312), 111);
    // A field narrower than the lens: the upper bound, applied last, wins.
    EXPECT_EQ(ClampPanX(-5, 150), -50);
}

TEST(ThrowSpeed, DistanceOverTenthsOfSecondsHeldToFifty) {
    EXPECT_EQ(ThrowSpeed(300, 0, 0), 50);
    EXPECT_EQ(ThrowSpeed(300, 0, 99), 50);   // under 100 ms: 300 / 1, held
    EXPECT_EQ(ThrowSpeed(300, 0, 950), 30);  // 300 / 10
    EXPECT_EQ(ThrowSpeed(300, 0, 999), 30);
    EXPECT_EQ(ThrowSpeed(300, 0, 1000), 27);  // 300 / 11
    EXPECT_EQ(ThrowSpeed(0, 0, 10), 0);
    EXPECT_EQ(ThrowSpeed(3, 4, 0), 5);
    EXPECT_EQ(ThrowSpeed(-30, -40, 100), 25);  // 50 / 2
    EXPECT_EQ(ThrowSpeed(1, 1, 0), 1);         // sqrt(2) truncated
    EXPECT_EQ(ThrowSpeed(40, 0, 120000), 0);   // a stale grab: 40 / 1201
    // The elapsed time is unsigned: the largest tick difference does not divide by zero.
    EXPECT_EQ(ThrowSpeed(300, 0, 0xFFFFFFFFu), 0);
}

TEST(ThrowAngle, AxesQuadrantsAndTheTruncatedDiagonal) {
    EXPECT_EQ(ThrowAngle(300, 0), 0);
    EXPECT_EQ(ThrowAngle(0, 300), 90);
    EXPECT_EQ(ThrowAngle(-300, 0), 180);
    EXPECT_EQ(ThrowAngle(0, -300), 270);
    EXPECT_EQ(ThrowAngle(0, 0), 180);  // no move at all
    EXPECT_EQ(ThrowAngle(300, 300), 44);
    EXPECT_EQ(ThrowAngle(300, -300), 360 - 44);
    EXPECT_EQ(ThrowAngle(-300, 300), 180 - 44);
    EXPECT_EQ(ThrowAngle(-300, -300), 180 + 44);
    // Away from the diagonals the truncation of the degrees decides.
    for (int dy = 1; dy < 40; dy += 7) {
        const double exact = std::atan2(dy, 37) * 57.29577951307855;
        EXPECT_EQ(ThrowAngle(37, dy), static_cast<int>(exact)) << dy;
        EXPECT_EQ(ThrowAngle(37, -dy), 360 - static_cast<int>(exact)) << dy;
        EXPECT_EQ(ThrowAngle(-37, dy), 180 - static_cast<int>(exact)) << dy;
        EXPECT_EQ(ThrowAngle(-37, -dy), 180 + static_cast<int>(exact)) << dy;
    }
    EXPECT_EQ(ThrowAngle(100, 1), 0);     // 0.57 degrees
    EXPECT_EQ(ThrowAngle(100, -1), 360);  // 360 - 0: a full turn, as the rule gives
    EXPECT_EQ(ThrowAngle(1, 100), 89);
}

TEST(RimMenu, OpensLeftOnTheLeftHalf) {
    EXPECT_TRUE(RimMenuOpensLeft(0));
    EXPECT_TRUE(RimMenuOpensLeft(150));
    EXPECT_FALSE(RimMenuOpensLeft(151));
    EXPECT_FALSE(RimMenuOpensLeft(299));
    EXPECT_FALSE(RimMenuOpensLeft(65535));  // a negative x, read unsigned
}

}  // namespace
