// The arrivals of an ant: the goal circle, home beside the ball, the trail emptied when the
// ball moves, and when and what the arrival commits into the field mask.
#include <gtest/gtest.h>

#include "colony/Ant.h"
#include "tests/native/colony/ColonyTestWorld.h"

namespace {

using AntGoalTest = ColonyWorldTest;

TEST_F(AntGoalTest, GoalCircleIsStrictlyInsideRadiusTwenty) {
    struct Case {
        int32_t dx, dy;
        bool happy;
    };
    const Case cases[] = {{19, 5, true},  {-19, -5, true}, {0, 0, true},    {19, 6, true},
                          {20, 0, false}, {0, -20, false}, {12, 16, false}, {-16, 12, false}};
    for (const Case& c : cases) {
        auto ant = MakeAnt(kGoalX + c.dx, kGoalY + c.dy, 2);
        ant->frame = 1;
        const StepResult result = ant->Step(mask);
        if (c.happy) {
            EXPECT_EQ(result, StepHappy) << c.dx << "," << c.dy;
            EXPECT_EQ(ant->x, kGoalX + c.dx) << "a happy ant does not move";
            EXPECT_EQ(ant->frame, 1) << "a happy ant's frame is not toggled";
        } else {
            EXPECT_EQ(result, StepWalked) << c.dx << "," << c.dy;
            EXPECT_EQ(ant->frame, 0);
        }
    }
}

TEST_F(AntGoalTest, HappyAntCommitsEmptiesItsTrailAndSetsArrivalSeen) {
    auto ant = MakeAnt(kGoalX + 3, kGoalY, 2);
    ant->trail.Append(250, 200, CellTrail);
    ant->trail.Append(251, 200, CellStrongTrail);
    const auto draws = PeekDraws(7, 16);
    ASSERT_EQ(ant->Step(mask), StepHappy);
    EXPECT_EQ(DrawsUsed(draws), 1) << "only the commit draw";
    EXPECT_EQ(ant->trail.Count(), 0);
    EXPECT_EQ(shared.arrivalSeen.load(), 1);
    EXPECT_EQ(mask.At(250, 200), CellTrail);
    EXPECT_EQ(mask.At(251, 200), CellStrongTrail);
}

TEST_F(AntGoalTest, GoalIsTestedBeforeHome) {
    shared.ballX = kGoalX;
    shared.ballY = kGoalY;
    auto ant = MakeAnt(kGoalX + 3, kGoalY + 3, 0);
    EXPECT_EQ(ant->Step(mask), StepHappy);
}

using AntHomeTest = ColonyWorldTest;

TEST_F(AntHomeTest, HomeIsTheBoxFiveCellsAroundTheBall) {
    struct Case {
        int32_t dx, dy;
        bool home;
    };
    const Case cases[] = {{5, -5, true},  {-5, 5, true},  {0, 0, true},
                          {5, 5, true},   {6, 0, false},  {0, 6, false},
                          {-6, 0, false}, {0, -6, false}, {6, 6, false}};
    for (const Case& c : cases) {
        auto ant = MakeAnt(kBallX + c.dx, kBallY + c.dy, 4);
        EXPECT_EQ(ant->Step(mask), c.home ? StepAtHome : StepWalked) << c.dx << "," << c.dy;
    }
}

TEST_F(AntHomeTest, AntAtHomeStaysFrozenUntilTheBallMoves) {
    auto ant = MakeAnt(kBallX + 2, kBallY - 3, 5);
    ant->frame = 1;
    for (int frame = 0; frame < 6; ++frame) {
        const auto draws = PeekDraws(100 + frame, 16);
        ASSERT_EQ(ant->Step(mask), StepAtHome);
        EXPECT_EQ(DrawsUsed(draws), 1) << "only the commit draw";
        EXPECT_EQ(ant->x, kBallX + 2);
        EXPECT_EQ(ant->y, kBallY - 3);
        EXPECT_EQ(ant->direction, 5);
        EXPECT_EQ(ant->frame, 1);
    }
    EXPECT_EQ(shared.arrivalSeen.load(), 1);
    shared.ballX = kBallX + 100;
    EXPECT_EQ(ant->Step(mask), StepWalked) << "the ball has gone: the ant walks again";
    EXPECT_EQ(ant->lastHomeX, kBallX + 100);
}

TEST_F(AntHomeTest, HomeArrivalCommitsButLeavesTheTrailToTheCaller) {
    auto ant = MakeAnt(kBallX, kBallY + 4, 0);
    ant->trail.Append(70, 70, CellTrail);
    ant->trail.Append(71, 70, CellStrongTrail);
    ASSERT_EQ(ant->Step(mask), StepAtHome);
    EXPECT_EQ(mask.At(70, 70), CellTrail);
    EXPECT_EQ(mask.At(71, 70), CellStrongTrail);
    EXPECT_EQ(ant->trail.Count(), 2);
}

TEST_F(AntHomeTest, BallMovedEmptiesTheTrailEvenWhenArrivingInTheSameStep) {
    auto ant = MakeAnt(150, 150, 0);
    ant->trail.Append(120, 120, CellStrongTrail);
    ant->trail.Append(121, 120, CellStrongTrail);
    shared.ballX = 152;
    shared.ballY = 148;
    ASSERT_EQ(ant->Step(mask), StepAtHome);
    EXPECT_EQ(ant->trail.Count(), 0);
    EXPECT_EQ(ant->lastHomeX, 152);
    EXPECT_EQ(ant->lastHomeY, 148);
    EXPECT_EQ(mask.At(120, 120), CellFree) << "the emptied trail must not be committed";

    // Moved away instead: the old points are gone, at most the cell just left is recorded.
    auto walker = MakeAnt(200, 150, 0);
    walker->trail.Append(120, 120, CellTrail);
    shared.ballX = 400;
    ASSERT_EQ(walker->Step(mask), StepWalked);
    ASSERT_LE(walker->trail.Count(), 1);
    if (walker->trail.Count() == 1) {
        EXPECT_EQ(walker->trail.At(0)->x, 200);
        EXPECT_EQ(walker->trail.At(0)->y, 150);
    }
}

using AntCommitTest = ColonyWorldTest;

TEST_F(AntCommitTest, EveryArrivalCommitsUntilTheFirstIsSeen) {
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        ASSERT_TRUE(BuildWalkMask(mask));
        shared.arrivalSeen = 0;
        auto ant = MakeAnt(kBallX, kBallY, 0);
        ant->trail.Append(90, 90, CellTrail);
        shared.random.Seed(seed);
        ASSERT_EQ(ant->Step(mask), StepAtHome);
        ASSERT_EQ(mask.At(90, 90), CellTrail) << "seed " << seed;
    }
}

TEST_F(AntCommitTest, OnceSeenOnlyADrawBelowTwentyCommits) {
    int commits = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        ASSERT_TRUE(BuildWalkMask(mask));
        shared.arrivalSeen = 1;
        auto ant = MakeAnt(kBallX, kBallY, 0);
        ant->trail.Append(90, 90, CellStrongTrail);
        const auto draws = PeekDraws(seed, 8);
        ASSERT_EQ(ant->Step(mask), StepAtHome);
        const bool expected = draws[0] % 100 < 20;
        ASSERT_EQ(mask.At(90, 90) == CellStrongTrail, expected) << "seed " << seed;
        commits += expected ? 1 : 0;
    }
    EXPECT_GT(commits, 40);
    EXPECT_LT(commits, 120);
}

TEST_F(AntCommitTest, NothingIsCommittedWhileTheBallIsHeldOrFlying) {
    struct Throw {
        int32_t grabbed, flying;
    };
    for (const Throw t : {Throw{1, 0}, Throw{2, 0}, Throw{0, 1}}) {
        shared.arrivalSeen = 0;
        shared.ballGrabbed = t.grabbed;
        shared.ballFlying = t.flying;
        auto ant = MakeAnt(kBallX, kBallY, 0);
        ant->trail.Append(90, 90, CellTrail);
        const auto draws = PeekDraws(3, 16);
        ASSERT_EQ(ant->Step(mask), StepAtHome);
        EXPECT_EQ(DrawsUsed(draws), 1) << "the commit draw is made all the same";
        EXPECT_EQ(mask.At(90, 90), CellFree);
        EXPECT_EQ(shared.arrivalSeen.load(), 1);
    }
}

TEST_F(AntCommitTest, PointsAreWrittenInOrderSoTheLaterWins) {
    auto ant = MakeAnt(kBallX, kBallY, 0);
    ant->trail.Append(40, 40, CellStrongTrail);
    ant->trail.Append(41, 40, CellTrail);
    ant->trail.Append(41, 40, CellStrongTrail);
    ant->trail.Append(42, 40, CellStrongTrail);
    ant->trail.Append(42, 40, CellTrail);
    ASSERT_EQ(ant->Step(mask), StepAtHome);
    EXPECT_EQ(mask.At(40, 40), CellStrongTrail);
    EXPECT_EQ(mask.At(41, 40), CellStrongTrail);
    EXPECT_EQ(mask.At(42, 40), CellTrail);
}

TEST_F(AntCommitTest, EmptyTrailOrBandPointsChangeNothing) {
    const std::vector<uint8_t> before(mask.Cells(), mask.Cells() + kWidth * kHeight);
    auto ant = MakeAnt(kBallX, kBallY, 0);
    ASSERT_EQ(ant->Step(mask), StepAtHome);
    // Points that could never have been walked: the band and outside the field.
    ant->trail.Append(10, 10, CellStrongTrail);
    ant->trail.Append(kWidth + 3, 40, CellTrail);
    ant->trail.Append(-1, 40, CellTrail);
    shared.arrivalSeen = 0;
    ASSERT_EQ(ant->Step(mask), StepAtHome);
    const std::vector<uint8_t> after(mask.Cells(), mask.Cells() + kWidth * kHeight);
    EXPECT_EQ(before, after);
}

}  // namespace
