// The walking rules of one step: following an adjacent trail, steering home, seeking strong
// trail cells inside the clipped window, wandering, the move with its record, and the bearing.
#include <gtest/gtest.h>

#include <vector>

#include "colony/Ant.h"
#include "tests/native/colony/ColonyTestWorld.h"

namespace {

struct Cell {
    int32_t x, y;
};

int32_t NeighbourX(int32_t x, int32_t heading) {
    int32_t y = 0;
    Advance(heading, x, y);
    return x;
}
int32_t NeighbourY(int32_t y, int32_t heading) {
    int32_t x = 0;
    Advance(heading, x, y);
    return y;
}

TEST(TurnTable, LeftStraightRightForEveryHeading) {
    for (int32_t d = 0; d < 8; ++d) {
        EXPECT_EQ(TurnChoices[d][0], (d + 7) % 8);
        EXPECT_EQ(TurnChoices[d][1], d);
        EXPECT_EQ(TurnChoices[d][2], (d + 1) % 8);
    }
    const int32_t dx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    const int32_t dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    for (int32_t d = 0; d < 8; ++d) {
        int32_t x = 10;
        int32_t y = 20;
        Advance(d, x, y);
        EXPECT_EQ(x, 10 + dx[d]) << d;
        EXPECT_EQ(y, 20 + dy[d]) << d;
    }
    for (int32_t bad : {-1, 8, 100}) {
        int32_t x = 10;
        int32_t y = 20;
        Advance(bad, x, y);
        EXPECT_EQ(x, 10);
        EXPECT_EQ(y, 20);
    }
}

using AntResetTest = ColonyWorldTest;

TEST_F(AntResetTest, ResetDrawsTheHeadingAndLeavesTheHomeAlone) {
    for (uint32_t seed : {1u, 2u, 99u, 12345u}) {
        const auto draws = PeekDraws(seed, 16);
        Ant ant(shared);
        EXPECT_EQ(ant.direction, draws[0] % 8);
        EXPECT_EQ(DrawsUsed(draws), 1);
        ant.x = 5;
        ant.y = 6;
        ant.active = 1;
        ant.frame = 1;
        ant.lastHomeX = 77;
        ant.trail.Append(1, 2, CellTrail);
        const auto again = PeekDraws(seed + 1, 16);
        ant.Reset();
        EXPECT_EQ(ant.direction, again[0] % 8);
        EXPECT_EQ(ant.x, 0);
        EXPECT_EQ(ant.y, 0);
        EXPECT_EQ(ant.active, 0);
        EXPECT_EQ(ant.frame, 0);
        EXPECT_EQ(ant.trail.Count(), 0);
        EXPECT_EQ(ant.lastHomeX, 77);
        EXPECT_EQ(&ant.homeX, &shared.ballX);
    }
}

using AntFollowTest = ColonyWorldTest;

TEST_F(AntFollowTest, SingleTrailCandidateIsAlwaysTakenWithoutRecording) {
    // Heading east: the candidates are north-east, east and south-east; only south-east is trail.
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        for (uint8_t code : {CellTrail, CellStrongTrail}) {
            ASSERT_TRUE(BuildWalkMask(mask));
            mask.At(201, 151) = code;
            auto ant = MakeAnt(200, 150, 2);
            const auto draws = PeekDraws(seed, 16);
            ASSERT_EQ(ant->Step(mask), StepWalked);
            EXPECT_EQ(ant->direction, 3);
            EXPECT_EQ(ant->x, 201);
            EXPECT_EQ(ant->y, 151);
            EXPECT_EQ(ant->trail.Count(), 0) << "following records nothing";
            EXPECT_EQ(ant->frame, 1);
            EXPECT_EQ(DrawsUsed(draws), 1) << "one parity draw, nothing else";
        }
    }
}

TEST_F(AntFollowTest, OfSeveralCandidatesTheFirstEvenDrawDecides) {
    int taken[3] = {0, 0, 0};
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        ASSERT_TRUE(BuildWalkMask(mask));
        for (int32_t k = 0; k < 3; ++k) {
            const int32_t h = TurnChoices[2][k];
            mask.At(NeighbourX(200, h), NeighbourY(150, h)) = CellTrail;
        }
        auto ant = MakeAnt(200, 150, 2);
        const auto draws = PeekDraws(seed, 16);
        ASSERT_EQ(ant->Step(mask), StepWalked);
        int32_t k = 0;
        while (k < 2 && draws[k] % 2 != 0) {
            ++k;
        }
        ASSERT_EQ(ant->direction, TurnChoices[2][k]) << "seed " << seed;
        EXPECT_EQ(ant->x, NeighbourX(200, ant->direction));
        EXPECT_EQ(ant->y, NeighbourY(150, ant->direction));
        EXPECT_EQ(DrawsUsed(draws), k + 1);
        ++taken[k];
    }
    // About 1/2, 1/4, 1/4 of two hundred.
    EXPECT_GT(taken[0], 70);
    EXPECT_GT(taken[1], 25);
    EXPECT_GT(taken[2], 25);
}

TEST_F(AntFollowTest, TwoCandidatesFallBackToTheLastMatch) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        ASSERT_TRUE(BuildWalkMask(mask));
        mask.At(201, 149) = CellStrongTrail;  // heading 1
        mask.At(201, 151) = CellTrail;        // heading 3
        auto ant = MakeAnt(200, 150, 2);
        const auto draws = PeekDraws(seed, 16);
        ASSERT_EQ(ant->Step(mask), StepWalked);
        const bool first = draws[0] % 2 == 0;
        EXPECT_EQ(ant->direction, first ? 1 : 3) << "seed " << seed;
        EXPECT_EQ(DrawsUsed(draws), first ? 1 : 2);
    }
}

using AntSteerHomeTest = ColonyWorldTest;

// From 100 cells east of the ball the homeward correction comes with chance 1/16; the bearing
// west (code 6) is two turns away from north, so one turn gives north-west.
TEST_F(AntSteerHomeTest, CorrectionChanceFollowsTheDistance) {
    struct Case {
        int32_t x, chance;
    };
    // Distance 10 gives 2, 100 gives 16, 300 gives 46.
    for (const Case c : {Case{kBallX + 10, 2}, Case{kBallX + 100, 16}, Case{kBallX + 300, 46}}) {
        int turned = 0;
        int straight = 0;
        for (uint32_t seed = 1; seed <= 3000; ++seed) {
            auto ant = MakeAnt(c.x, kBallY, 0);
            const auto draws = PeekDraws(seed, 16);
            if (draws[0] % 100 >= 75) {
                continue;
            }
            ASSERT_EQ(ant->Step(mask), StepWalked);
            const bool correct = draws[1] % c.chance == 0;
            ASSERT_EQ(ant->direction, correct ? 7 : 0) << "x " << c.x << " seed " << seed;
            EXPECT_EQ(ant->x, correct ? c.x - 1 : c.x);
            EXPECT_EQ(ant->y, kBallY - 1);
            ASSERT_EQ(ant->trail.Count(), 1);
            EXPECT_EQ(ant->trail.At(0)->x, c.x) << "the point is the cell left";
            EXPECT_EQ(ant->trail.At(0)->y, kBallY);
            EXPECT_EQ(ant->trail.At(0)->mark, draws[2] % 100 < 7 ? CellStrongTrail : CellTrail);
            EXPECT_EQ(DrawsUsed(draws), 3);
            (correct ? turned : straight) += 1;
        }
        EXPECT_GT(turned, 0);
        EXPECT_GT(straight, 0);
    }
}

TEST_F(AntSteerHomeTest, BlockedMoveKeepsPlaceAndNewHeadingAndTogglesTheFrame) {
    // Home due west behind the band: the correction turns the ant west onto a blocked cell.
    shared.ballX = 0;
    shared.ballY = 50;
    const uint32_t seed =
        SeedWhere([](const std::vector<int32_t>& d) { return d[0] % 100 < 75 && d[1] % 5 == 0; });
    auto ant = MakeAnt(28, 50, 7);
    ant->trail.Append(29, 50, CellTrail);
    const auto draws = PeekDraws(seed, 16);
    ASSERT_EQ(ant->Step(mask), StepWalked);
    EXPECT_EQ(ant->direction, 6);
    EXPECT_EQ(ant->x, 28);
    EXPECT_EQ(ant->y, 50);
    EXPECT_EQ(ant->frame, 1);
    EXPECT_EQ(ant->trail.Count(), 1) << "a blocked move records nothing";
    EXPECT_EQ(DrawsUsed(draws), 2) << "no mark is drawn for a blocked move";
}

class AntSeekTest : public ColonyWorldTest {
  protected:
    struct Outcome {
        int32_t direction, x, y;
        int used;
    };
    // One step in the seeking branch with a pause if nothing is seen (wander draw q = 1), on a
    // mask whose only strong cells are `strong`.
    Outcome Seek(int32_t x, int32_t y, int32_t direction, const std::vector<Cell>& strong) {
        EXPECT_TRUE(BuildWalkMask(mask));
        for (const Cell& c : strong) {
            mask.At(c.x, c.y) = CellStrongTrail;
        }
        auto ant = MakeAnt(x, y, direction);
        const auto draws = PeekDraws(seekSeed_, 16);
        EXPECT_EQ(ant->Step(mask), StepWalked);
        return {ant->direction, ant->x, ant->y, DrawsUsed(draws)};
    }
    uint32_t seekSeed_ =
        SeedWhere([](const std::vector<int32_t>& d) { return d[0] % 100 >= 75 && d[1] % 5 == 1; });
};

TEST_F(AntSeekTest, NearestStrongCellWinsAndTruncatedTiesKeepTheFirstFound) {
    Outcome o = Seek(200, 150, 2, {{250, 150}});
    EXPECT_EQ(o.direction, 2);
    EXPECT_EQ(o.x, 201);
    EXPECT_EQ(o.used, 2) << "the branch draw and the mark";

    // (230, 110) is also 50 away but found first, row by row: bearing 0 limited to 1.
    o = Seek(200, 150, 2, {{250, 150}, {230, 110}});
    EXPECT_EQ(o.direction, 1);
    // A nearer cell (22 away, bearing 153) wins wherever it lies.
    o = Seek(200, 150, 2, {{250, 150}, {230, 110}, {210, 170}});
    EXPECT_EQ(o.direction, 3);
    // 50.01 truncates to 50: (250, 149), found first, ties with (250, 150).
    o = Seek(200, 150, 2, {{250, 150}, {250, 149}});
    EXPECT_EQ(o.direction, 1);
    // Plain trail cells are not sought: the ant pauses (q = 1) without turning or moving.
    ASSERT_TRUE(BuildWalkMask(mask));
    o = Seek(200, 150, 2, {});
    EXPECT_EQ(o.direction, 2);
    EXPECT_EQ(o.x, 200);
    EXPECT_EQ(o.used, 2);
}

TEST_F(AntSeekTest, WindowReachesAHundredCellsBackAndNinetyNineAhead) {
    EXPECT_EQ(Seek(200, 150, 6, {{100, 150}}).x, 199) << "x - 100 is seen";
    EXPECT_EQ(Seek(200, 150, 2, {{300, 150}}).x, 200) << "x + 100 is not";
    EXPECT_EQ(Seek(200, 150, 2, {{299, 150}}).x, 201);
    EXPECT_EQ(Seek(200, 150, 0, {{200, 50}}).y, 149) << "y - 100 is seen";
    EXPECT_EQ(Seek(200, 150, 4, {{200, 250}}).y, 150) << "y + 100 is not";
    EXPECT_EQ(Seek(200, 150, 4, {{200, 249}}).y, 151);
}

TEST_F(AntSeekTest, WindowIsClippedFourCellsInsideTheField) {
    // Cells in the band can only be put there by hand; they show where the window ends.
    EXPECT_EQ(Seek(30, 150, 6, {{3, 150}}).x, 30) << "column 3 is outside";
    EXPECT_EQ(Seek(30, 150, 6, {{4, 150}}).x, 29);
    EXPECT_EQ(Seek(420, 150, 2, {{451, 150}}).x, 420) << "column W-4 is outside";
    EXPECT_EQ(Seek(420, 150, 2, {{450, 150}}).x, 421);
    EXPECT_EQ(Seek(200, 30, 0, {{200, 3}}).y, 30) << "row 3 is outside";
    EXPECT_EQ(Seek(200, 30, 0, {{200, 4}}).y, 29);
    EXPECT_EQ(Seek(200, 280, 4, {{200, 308}}).y, 280) << "row H-4 is outside";
    EXPECT_EQ(Seek(200, 280, 4, {{200, 307}}).y, 281);
}

TEST_F(AntSeekTest, WindowFollowsTheFieldSizeTheWorldPublishes) {
    UseField(200, 200);
    EXPECT_EQ(Seek(170, 100, 2, {{196, 100}}).x, 170) << "column 196 = W-4 is outside";
    EXPECT_EQ(Seek(170, 100, 2, {{195, 100}}).x, 171);
}

using AntWanderTest = ColonyWorldTest;

TEST_F(AntWanderTest, EachWanderDrawDoesWhatItSays) {
    int seen[5] = {0, 0, 0, 0, 0};
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        auto ant = MakeAnt(200, 150, 3);
        const auto draws = PeekDraws(seed, 16);
        if (draws[0] % 100 < 75) {
            continue;
        }
        ASSERT_EQ(ant->Step(mask), StepWalked);
        const int32_t q = draws[1] % 5;
        ++seen[q];
        EXPECT_EQ(ant->frame, 1);
        if (q == 1) {
            EXPECT_EQ(ant->direction, 3);
            EXPECT_EQ(ant->x, 200);
            EXPECT_EQ(ant->y, 150);
            EXPECT_EQ(DrawsUsed(draws), 2);
            continue;
        }
        const int32_t heading = TurnChoices[3][draws[2] % 3];
        EXPECT_EQ(ant->direction, heading) << "seed " << seed;
        if (q == 0) {
            EXPECT_EQ(ant->x, NeighbourX(200, heading));
            EXPECT_EQ(ant->y, NeighbourY(150, heading));
            EXPECT_EQ(ant->trail.Count(), 1);
            EXPECT_EQ(DrawsUsed(draws), 4);
        } else {
            EXPECT_EQ(ant->x, 200);
            EXPECT_EQ(ant->y, 150);
            EXPECT_EQ(ant->trail.Count(), 0);
            EXPECT_EQ(DrawsUsed(draws), 3);
        }
    }
    for (int q = 0; q < 5; ++q) {
        EXPECT_GT(seen[q], 0) << q;
    }
}

// Over many single steps in open ground: three in four steer home and move, one in four
// wanders, and of those one in five moves, one in five pauses, three in five only turn.
TEST_F(AntWanderTest, MoveAndPauseProportionsOverManySeededSteps) {
    shared.random.Seed(20240601);
    constexpr int kSteps = 20000;
    int moved = 0;
    int stoodStill = 0;
    int turnedOnly = 0;
    for (int i = 0; i < kSteps; ++i) {
        Ant ant(shared);
        ant.x = 300;
        ant.y = 150;
        ant.direction = 2;
        ant.active = 1;
        ant.lastHomeX = kBallX;
        ant.lastHomeY = kBallY;
        ASSERT_EQ(ant.Step(mask), StepWalked);
        if (ant.x != 300 || ant.y != 150) {
            ++moved;
        } else if (ant.direction == 2) {
            ++stoodStill;
        } else {
            ++turnedOnly;
        }
    }
    // Expected 0.80, 0.10 (pause or a straight turn choice), 0.10.
    EXPECT_NEAR(moved / double(kSteps), 0.80, 0.02);
    EXPECT_NEAR(stoodStill / double(kSteps), 0.10, 0.015);
    EXPECT_NEAR(turnedOnly / double(kSteps), 0.10, 0.015);
}

using AntBearingTest = ColonyWorldTest;

TEST_F(AntBearingTest, BearingsFromOneHundredOneHundred) {
    struct Case {
        int32_t tx, ty, code;
    };
    const Case cases[] = {{150, 100, 2}, {100, 150, 4}, {100, 50, 0},  {100, 100, 0}, {150, 50, 0},
                          {200, 50, 1},  {150, 150, 2}, {120, 150, 3}, {50, 100, 6},  {90, 50, 7},
                          {50, 50, 6},   {50, 150, 4},  {0, 150, 5}};
    for (const Case& c : cases) {
        // Facing the expected code itself, so the one-turn limit cannot interfere.
        auto ant = MakeAnt(100, 100, c.code);
        EXPECT_EQ(ant->DirectionToward(c.tx, c.ty), c.code) << c.tx << "," << c.ty;
        EXPECT_EQ(ant->direction, c.code) << "DirectionToward changes nothing";
    }
}

TEST_F(AntBearingTest, AtMostOneTurnComparingPlainCodesTieTurnsRight) {
    auto ant = MakeAnt(100, 100, 1);
    EXPECT_EQ(ant->DirectionToward(90, 50), 2) << "code 7 from heading 1";
    ant->direction = 0;
    EXPECT_EQ(ant->DirectionToward(100, 150), 1) << "code 4 from heading 0: a tie";
    ant->direction = 4;
    EXPECT_EQ(ant->DirectionToward(100, 50), 3) << "code 0 from heading 4";
    ant->direction = 7;
    EXPECT_EQ(ant->DirectionToward(150, 100), 0) << "code 2 from heading 7";
    ant->direction = 2;
    EXPECT_EQ(ant->DirectionToward(50, 100), 3) << "code 6 from heading 2";
}

}  // namespace
