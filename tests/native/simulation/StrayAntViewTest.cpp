// The stray ant's pose as one word: every value a screen can give comes back as it went in, and a
// reader on another thread never sees the position of one pose with the cell of another.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "simulation/StrayAnt.h"

namespace {

TEST(StrayAntView, PosesComeBackAsTheyWentIn) {
    const StrayAntPose poses[] = {
        {},
        {StrayAntPose::Walking, 0, 0, 0},
        {StrayAntPose::Walking, 15, 1016, 760},
        {StrayAntPose::Heart, 16, 3839, 2159},
        // A screen left of or above the primary one has negative coordinates.
        {StrayAntPose::Walking, 7, -1920, -8},
        {StrayAntPose::Heart, 16, -1, 16},
        {StrayAntPose::Walking, 3, StrayAntView::kCoordinateLimit,
         -StrayAntView::kCoordinateLimit - 1},
    };
    StrayAntView view;
    for (const StrayAntPose& pose : poses) {
        EXPECT_EQ(StrayAntView::Unpack(StrayAntView::Pack(pose)), pose)
            << pose.kind << " " << pose.cell << " " << pose.x << " " << pose.y;
        view.Publish(pose);
        EXPECT_EQ(view.Read(), pose);
    }
    EXPECT_EQ(StrayAntView().Read().kind, StrayAntPose::Hidden);
}

TEST(StrayAntView, ValuesOutsideTheFieldsAreClampedNotSpilledIntoTheirNeighbours) {
    const StrayAntPose wide{StrayAntPose::Walking, 5, 1 << 26, -(1 << 26)};
    const StrayAntPose back = StrayAntView::Unpack(StrayAntView::Pack(wide));
    EXPECT_EQ(back.x, StrayAntView::kCoordinateLimit);
    EXPECT_EQ(back.y, -StrayAntView::kCoordinateLimit - 1);
    EXPECT_EQ(back.cell, 5);
    EXPECT_EQ(back.kind, StrayAntPose::Walking);
    const StrayAntPose odd{7, 99, 1, 2};
    const StrayAntPose clamped = StrayAntView::Unpack(StrayAntView::Pack(odd));
    EXPECT_EQ(clamped.kind, 3);
    EXPECT_EQ(clamped.cell, 31);
    EXPECT_EQ(clamped.x, 1);
    EXPECT_EQ(clamped.y, 2);
}

TEST(StrayAntView, AReaderNeverSeesATornPose) {
    // The writer keeps x, y and the cell in a fixed relation; any mix of two poses breaks it.
    StrayAntView view;
    view.Publish({StrayAntPose::Walking, 0, 0, 0});
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 1; i < 200000; ++i) {
            const int32_t x = (i * 37) % 5000 - 100;
            view.Publish({StrayAntPose::Walking, i % 16, x, -x * 3 + i % 16});
        }
        done = true;
    });
    int torn = 0;
    int reads = 0;
    while (!done) {
        const StrayAntPose pose = view.Read();
        torn += pose.y != -pose.x * 3 + pose.cell ? 1 : 0;
        ++reads;
    }
    writer.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
}

}  // namespace
