// The three lists of the world, the trail points, the colony and the hearts: insertion order,
// clearing, and the index-error boxes with their exact texts through the message seam.
#include <gtest/gtest.h>

#include <string>

#include "colony/AntColony.h"
#include "colony/PheromonePointList.h"
#include "colony/SharedWorld.h"
#include "simulation/HeartList.h"
#include "tests/common/MessageRecorder.h"
#include "resources/TextIds.h"

namespace {

// Past either end a list gives nothing and raises its index box: OK only, no icon.
template <typename List>
void ExpectRefusedOutside(List& list, uint32_t text) {
    for (const int32_t index : {static_cast<int32_t>(list.Count()), int32_t{-1}}) {
        MessageRecorder recorder;
        EXPECT_EQ(list.At(index), nullptr) << index;
        recorder.ExpectOnly(text, IDS_INDEX_CAPTION, mb::kOk);
    }
}

TEST(TrailList, AppendKeepsOrderAndWrongIndicesRaiseTheBox) {
    PheromonePointList trail;
    EXPECT_EQ(trail.Count(), 0);
    ExpectRefusedOutside(trail, IDS_NO_PHEROMONE_POINT);

    MessageRecorder recorder;
    trail.Append(10, 20, CellTrail);
    trail.Append(11, 20, CellStrongTrail);
    ASSERT_EQ(trail.Count(), 2);
    ASSERT_NE(trail.At(0), nullptr);
    EXPECT_EQ(trail.At(0)->x, 10);
    EXPECT_EQ(trail.At(0)->y, 20);
    EXPECT_EQ(trail.At(0)->mark, CellTrail);
    EXPECT_EQ(trail.At(1)->x, 11);
    EXPECT_EQ(trail.At(1)->mark, CellStrongTrail);
    EXPECT_EQ(recorder.size(), 0u);
    ExpectRefusedOutside(trail, IDS_NO_PHEROMONE_POINT);

    trail.Clear();
    EXPECT_EQ(trail.Count(), 0);
    trail.Clear();
    EXPECT_EQ(trail.Count(), 0);
    trail.Append(5, 6, CellTrail);
    EXPECT_EQ(trail.At(0)->x, 5);
}

TEST(ColonyList, AddBindsTheBallAndKeepsInsertionOrder) {
    MessageRecorder recorder;
    ColonyShared world;
    world.ballX = 70;
    world.ballY = 80;
    AntColony ants;
    for (int32_t i = 0; i < kColonySize; ++i) {
        ants.Add(world);
        ants.At(i)->x = i;  // tag each ant with its insertion index
    }
    ASSERT_EQ(ants.Count(), 50);
    for (int32_t i = 0; i < 50; ++i) {
        const Ant* ant = ants.At(i);
        ASSERT_NE(ant, nullptr);
        EXPECT_EQ(ant->x, i);
        EXPECT_EQ(ant->active, 0);
        EXPECT_EQ(ant->frame, 0);
        EXPECT_EQ(ant->trail.Count(), 0);
        EXPECT_EQ(ant->lastHomeX, 70);
        EXPECT_EQ(ant->lastHomeY, 80);
    }
    EXPECT_EQ(recorder.size(), 0u);

    // The home is a live reference; the last seen position changes only in a step.
    world.ballX = 90;
    EXPECT_EQ(ants.At(3)->homeX.load(), 90);
    EXPECT_EQ(ants.At(3)->lastHomeX, 70);

    ExpectRefusedOutside(ants, IDS_NO_ANT);

    ants.At(0)->y = 0;
    ants.Clear();
    EXPECT_EQ(ants.Count(), 0);
    ants.Add(world);
    EXPECT_EQ(ants.At(0)->lastHomeX, 90) << "a new first ant after Clear";
    EXPECT_EQ(ants.At(0)->x, 0);
}

TEST(HeartRise, ZigzagFromOneHundredTwoHundred) {
    HeartList hearts;
    hearts.Add();
    hearts.Add();
    Heart* heart = hearts.At(1);
    heart->x = 100;
    heart->y = 200;
    heart->visible = 1;
    hearts.Animate();  // the frame in which the ant became happy
    EXPECT_EQ(heart->x, 101);
    EXPECT_EQ(heart->y, 199);
    EXPECT_EQ(heart->age, 1);
    for (int age = 2; age <= 9; ++age) {
        hearts.Animate();
    }
    EXPECT_EQ(heart->x, 109);
    EXPECT_EQ(heart->y, 191);
    int32_t previousX = heart->x;
    for (int age = 10; age <= 49; ++age) {
        hearts.Animate();
        const int32_t phase = age / 10;
        EXPECT_EQ(heart->x - previousX, phase % 2 == 1 ? -1 : 1) << "age " << age;
        previousX = heart->x;
        ASSERT_EQ(heart->visible, 1);
    }
    EXPECT_EQ(heart->x, 109);
    EXPECT_EQ(heart->y, 151);
    EXPECT_EQ(heart->age, 49);
    hearts.Animate();
    EXPECT_EQ(heart->visible, 0) << "gone at age 50";
    EXPECT_EQ(heart->age, 0);
    EXPECT_EQ(heart->x, 109) << "an ended heart keeps its place";
    EXPECT_EQ(heart->y, 151);
    hearts.Animate();
    EXPECT_EQ(heart->y, 151);
    EXPECT_EQ(hearts.At(0)->visible, 0) << "the other heart never started";
}

TEST(HeartRise, TopMarginEndsTheRiseAtSixteen) {
    HeartList hearts;
    hearts.Add();
    Heart* heart = hearts.At(0);
    heart->x = 50;
    heart->y = 20;
    heart->visible = 1;
    for (int frame = 1; frame <= 4; ++frame) {
        hearts.Animate();
        ASSERT_EQ(heart->visible, 1) << frame;
        EXPECT_EQ(heart->y, 20 - frame);
    }
    hearts.Animate();
    EXPECT_EQ(heart->visible, 0);
    EXPECT_EQ(heart->y, 16);
    EXPECT_EQ(heart->age, 0);
}

// Fresh hearts are invisible and stay put; wrong indices raise the box and Clear is harmless.
TEST(HeartRise, FreshHeartsStayPutAndWrongIndicesRaiseTheBox) {
    HeartList hearts;
    hearts.Clear();
    EXPECT_EQ(hearts.Count(), 0);
    ExpectRefusedOutside(hearts, IDS_NO_HEART);
    for (int i = 0; i < 3; ++i) {
        hearts.Add();
    }
    ASSERT_EQ(hearts.Count(), 3);
    hearts.Animate();
    for (int i = 0; i < 3; ++i) {
        const Heart* heart = hearts.At(i);
        EXPECT_EQ(heart->visible, 0);
        EXPECT_EQ(heart->x, 0);
        EXPECT_EQ(heart->y, 0);
        EXPECT_EQ(heart->age, 0);
    }
    ExpectRefusedOutside(hearts, IDS_NO_HEART);
    hearts.Clear();
    hearts.Add();
    EXPECT_EQ(hearts.Count(), 1);
    EXPECT_NE(hearts.At(0), nullptr);
}

}  // namespace
