// The colony of a new run and the per-frame pass over it: start places, who walks, what the
// pass does with arrivals, the pending-background stop, and the pull-in after a smaller field.
#include <gtest/gtest.h>

#include <vector>

#include "colony/AntColony.h"
#include "colony/ColonyStepper.h"
#include "tests/native/colony/ColonyTestWorld.h"

namespace {

using ColonyBuildTest = ColonyWorldTest;

TEST_F(ColonyBuildTest, DefaultFieldStartsFortyNineAntsTopLeft) {
    // Fifty heading draws, then an x and a y draw for each of ants 1..49.
    const auto draws = PeekDraws(4242, 160);
    AntColony ants;
    BuildColony(ants, shared, kWidth, kHeight);
    ASSERT_EQ(ants.Count(), 50);
    EXPECT_EQ(DrawsUsed(draws), 50 + 2 * 49);
    const Ant* first = ants.At(0);
    EXPECT_EQ(first->active, 0);
    EXPECT_EQ(first->x, 0);
    EXPECT_EQ(first->y, 0);
    for (int32_t i = 0; i < 50; ++i) {
        const Ant* ant = ants.At(i);
        EXPECT_EQ(ant->direction, draws[i] % 8) << i;
        EXPECT_EQ(&ant->homeX, &shared.ballX);
        EXPECT_EQ(&ant->homeY, &shared.ballY);
        EXPECT_EQ(ant->lastHomeX, kBallX);
        if (i == 0) {
            continue;
        }
        EXPECT_EQ(ant->active, 1);
        const int32_t wantX = draws[50 + 2 * (i - 1)] % (kWidth / 4);
        const int32_t wantY = draws[51 + 2 * (i - 1)] % (kHeight / 4);
        EXPECT_EQ(ant->x, wantX < 36 ? 36 : wantX) << i;
        EXPECT_EQ(ant->y, wantY < 36 ? 36 : wantY) << i;
        EXPECT_GE(ant->x, 36);
        EXPECT_LE(ant->x, 112);
        EXPECT_GE(ant->y, 36);
        EXPECT_LE(ant->y, 77);
    }
}

TEST_F(ColonyBuildTest, SmallFieldStartsWithin36To49AndRebuildStartsOver) {
    AntColony ants;
    ants.Add(shared);
    ants.At(0)->active = 1;
    for (uint32_t seed : {1u, 77u, 9999u}) {
        shared.random.Seed(seed);
        BuildColony(ants, shared, 200, 200);
        ASSERT_EQ(ants.Count(), 50);
        EXPECT_EQ(ants.At(0)->active, 0);
        for (int32_t i = 1; i < 50; ++i) {
            EXPECT_GE(ants.At(i)->x, 36);
            EXPECT_LE(ants.At(i)->x, 49);
            EXPECT_GE(ants.At(i)->y, 36);
            EXPECT_LE(ants.At(i)->y, 49);
        }
    }
}

using ColonyStepperTest = ColonyWorldTest;

TEST_F(ColonyStepperTest, ArrivalsAreSettledAndOnlyWalkingAntsStep) {
    AntColony ants;
    Ant* idle = AddAnt(ants, 200, 150, 0);  // inactive: never stepped
    Ant* home = AddAnt(ants, kBallX + 1, kBallY);
    home->trail.Append(80, 80, CellTrail);
    Ant* happy = AddAnt(ants, kGoalX + 4, kGoalY - 2);
    happy->trail.Append(250, 190, CellStrongTrail);
    Ant* walker = AddAnt(ants, 200, 150);
    std::vector<int32_t> happyIndices;
    const int32_t count =
        ColonyStepper::StepFrame(ants, mask, nullptr, [&](int32_t index, Ant& ant) {
            EXPECT_EQ(&ant, happy);
            EXPECT_EQ(ant.active, 0) << "already inactive when handed over";
            EXPECT_EQ(ant.x, kGoalX + 4);
            happyIndices.push_back(index);
        });
    EXPECT_EQ(count, 1);
    EXPECT_EQ(happyIndices, std::vector<int32_t>{2});
    EXPECT_EQ(home->trail.Count(), 0) << "the pass empties a trail at home";
    EXPECT_EQ(mask.At(80, 80), CellTrail) << "after the commit";
    EXPECT_EQ(happy->trail.Count(), 0);
    EXPECT_EQ(idle->frame, 0);
    EXPECT_EQ(idle->x, 200);
    EXPECT_EQ(walker->frame, 1);

    // The happy ant is not stepped again.
    ColonyStepper::StepFrame(ants, mask, nullptr,
                             [&](int32_t index, Ant&) { happyIndices.push_back(index); });
    EXPECT_EQ(happyIndices.size(), 1u);
    EXPECT_EQ(walker->frame, 0);
}

TEST_F(ColonyStepperTest, PendingBackgroundIsCheckedBeforeEachAnt) {
    AntColony ants;
    AddAnt(ants, 200, 150);
    AddAnt(ants, kGoalX, kGoalY);
    AddAnt(ants, 220, 150);
    SharedInt pending{0};
    // The second ant's happiness raises the flag, as a drop on the window could at any time.
    ColonyStepper::StepFrame(ants, mask, &pending, [&](int32_t, Ant&) { pending = 1; });
    EXPECT_EQ(ants.At(0)->frame, 1);
    EXPECT_EQ(ants.At(1)->active, 0);
    EXPECT_EQ(ants.At(2)->frame, 0) << "not stepped once a new field is waiting";
    EXPECT_EQ(ants.At(2)->x, 220);

    const auto draws = PeekDraws(5, 16);
    ColonyStepper::StepFrame(ants, mask, &pending, nullptr);
    EXPECT_EQ(DrawsUsed(draws), 0) << "nothing steps while the flag stands";
    EXPECT_EQ(ants.At(0)->frame, 1);
}

TEST_F(ColonyStepperTest, PullInsideMovesOnlyWalkingAntsFromRightAndBottom) {
    AntColony ants;
    AddAnt(ants, 400, 300, 0);  // inactive: left alone
    AddAnt(ants, 400, 280);
    AddAnt(ants, 164, 165);
    AddAnt(ants, 30, 30);
    for (int i = 0; i < 4; ++i) {
        ants.At(i)->trail.Append(100, 100, CellTrail);
    }
    ColonyStepper::PullInside(ants, 200, 200);
    EXPECT_EQ(ants.At(0)->x, 400);
    EXPECT_EQ(ants.At(0)->trail.Count(), 1);
    EXPECT_EQ(ants.At(1)->x, 164);
    EXPECT_EQ(ants.At(1)->y, 164);
    EXPECT_EQ(ants.At(2)->x, 164);
    EXPECT_EQ(ants.At(2)->y, 164);
    EXPECT_EQ(ants.At(3)->x, 30) << "never pulled from the left or top";
    EXPECT_EQ(ants.At(3)->y, 30);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(ants.At(i)->trail.Count(), 0) << i;
    }
}

}  // namespace
