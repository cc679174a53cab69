// The hand-over of a new background name from the window thread to the simulation thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "simulation/SharedState.h"

namespace {
// Each test hands names over through a state of its own, as the two threads of one run do.
class BackgroundRequestTest : public ::testing::Test {
  protected:
    SharedState shared;
    char name[kPathBytes] = {};
};

TEST_F(BackgroundRequestTest, TakesTheNameOnceAndClearsTheFlag) {
    EXPECT_FALSE(shared.TakeBackgroundRequest(name));
    shared.RequestBackground("C:\\pictures\\sand.bmp");
    EXPECT_EQ(shared.backgroundChanged.load(), 1);
    ASSERT_TRUE(shared.TakeBackgroundRequest(name));
    EXPECT_STREQ(name, "C:\\pictures\\sand.bmp");
    EXPECT_EQ(shared.backgroundChanged.load(), 0);
    EXPECT_FALSE(shared.TakeBackgroundRequest(name));
}

TEST_F(BackgroundRequestTest, ADropDuringTheReloadIsLoadedNext) {
    shared.RequestBackground("first.bmp");
    ASSERT_TRUE(shared.TakeBackgroundRequest(name));
    // ... the field is reloading while the user drops another picture ...
    shared.RequestBackground("second.bmp");
    ASSERT_TRUE(shared.TakeBackgroundRequest(name));
    EXPECT_STREQ(name, "second.bmp");
}

TEST_F(BackgroundRequestTest, OverlongNamesAreCutAndTerminated) {
    const std::string longName(400, 'a');
    shared.RequestBackground(longName.c_str());
    ASSERT_TRUE(shared.TakeBackgroundRequest(name));
    EXPECT_EQ(std::strlen(name), static_cast<size_t>(kPathBytes - 1));
    char current[kPathBytes] = {};
    shared.GetBackgroundFileName(current);
    EXPECT_STREQ(current, name);
}

TEST_F(BackgroundRequestTest, NamesAreNeverTornBetweenThreads) {
    const std::string a(200, 'a');
    const std::string b(200, 'b');
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int k = 0; k < 20000; ++k) {
            shared.RequestBackground((k % 2 == 0 ? a : b).c_str());
        }
        done = true;
    });
    int taken = 0;
    while (!done || shared.backgroundChanged.load() != 0) {
        if (shared.TakeBackgroundRequest(name)) {
            ++taken;
            const std::string got(name);
            ASSERT_TRUE(got == a || got == b) << got;
        }
    }
    writer.join();
    EXPECT_GT(taken, 0);
    // The last request is never lost: it was either taken or is still waiting.
    shared.GetBackgroundFileName(name);
    EXPECT_EQ(std::string(name), b);
}
}  // namespace
