// The hand-over of a new background name from the window thread to the simulation thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "simulation/SharedState.h"

namespace {
TEST(BackgroundRequestTest, TakesTheNameOnceAndClearsTheFlag) {
    Shared.backgroundChanged = 0;
    char name[kPathBytes] = {};
    EXPECT_FALSE(Shared.TakeBackgroundRequest(name));
    Shared.RequestBackground("C:\\pictures\\sand.bmp");
    EXPECT_EQ(Shared.backgroundChanged.load(), 1);
    ASSERT_TRUE(Shared.TakeBackgroundRequest(name));
    EXPECT_STREQ(name, "C:\\pictures\\sand.bmp");
    EXPECT_EQ(Shared.backgroundChanged.load(), 0);
    EXPECT_FALSE(Shared.TakeBackgroundRequest(name));
}

TEST(BackgroundRequestTest, ADropDuringTheReloadIsLoadedNext) {
    Shared.backgroundChanged = 0;
    char name[kPathBytes] = {};
    Shared.RequestBackground("first.bmp");
    ASSERT_TRUE(Shared.TakeBackgroundRequest(name));
    // ... the field is reloading while the user drops another picture ...
    Shared.RequestBackground("second.bmp");
    ASSERT_TRUE(Shared.TakeBackgroundRequest(name));
    EXPECT_STREQ(name, "second.bmp");
}

TEST(BackgroundRequestTest, OverlongNamesAreCutAndTerminated) {
    const std::string longName(400, 'a');
    Shared.RequestBackground(longName.c_str());
    char name[kPathBytes] = {};
    ASSERT_TRUE(Shared.TakeBackgroundRequest(name));
    EXPECT_EQ(std::strlen(name), static_cast<size_t>(kPathBytes - 1));
    char current[kPathBytes] = {};
    Shared.GetBackgroundFileName(current);
    EXPECT_STREQ(current, name);
}

TEST(BackgroundRequestTest, NamesAreNeverTornBetweenThreads) {
    const std::string a(200, 'a');
    const std::string b(200, 'b');
    Shared.backgroundChanged = 0;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int k = 0; k < 20000; ++k) {
            Shared.RequestBackground((k % 2 == 0 ? a : b).c_str());
        }
        done = true;
    });
    int taken = 0;
    char name[kPathBytes] = {};
    while (!done || Shared.backgroundChanged.load() != 0) {
        if (Shared.TakeBackgroundRequest(name)) {
            ++taken;
            const std::string got(name);
            ASSERT_TRUE(got == a || got == b) << got;
        }
    }
    writer.join();
    EXPECT_GT(taken, 0);
    // The last request is never lost: it was either taken or is still waiting.
    Shared.GetBackgroundFileName(name);
    EXPECT_EQ(std::string(name), b);
}
}  // namespace
