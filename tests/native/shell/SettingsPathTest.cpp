// The settings path: the working directory and kirelo.ini, never past the 256-byte buffer.
#include "shell/SettingsPath.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(SettingsPath, JoinsDirectoryAndName) {
    char path[kSettingsPathBytes];
    EXPECT_TRUE(ComposeSettingsPath("C:\\games\\kirelo", path));
    EXPECT_STREQ(path, "C:\\games\\kirelo\\kirelo.ini");
    // At a drive root the directory already ends in a backslash; two in a row are accepted.
    EXPECT_TRUE(ComposeSettingsPath("C:\\", path));
    EXPECT_STREQ(path, "C:\\\\kirelo.ini");
}

TEST(SettingsPath, LongestDirectoryThatFitsAndTheFirstThatDoesNot) {
    char path[kSettingsPathBytes + 8];
    std::memset(path, '#', sizeof(path));
    char(&bounded)[kSettingsPathBytes] = *reinterpret_cast<char(*)[kSettingsPathBytes]>(path);
    // 244 + "\" + "kirelo.ini" (10) + terminator = 256 bytes exactly.
    const std::string fits(244, 'd');
    EXPECT_TRUE(ComposeSettingsPath(fits.c_str(), bounded));
    EXPECT_EQ(std::strlen(path), 255u);
    EXPECT_EQ(std::string(path), fits + "\\kirelo.ini");

    std::memset(path, '#', sizeof(path));
    const std::string tooLong(245, 'd');
    EXPECT_FALSE(ComposeSettingsPath(tooLong.c_str(), bounded));
    EXPECT_STREQ(path, ".\\kirelo.ini");
    // Nothing beyond the buffer was touched.
    for (size_t i = kSettingsPathBytes; i < sizeof(path); ++i) {
        EXPECT_EQ(path[i], '#') << i;
    }
}

TEST(SettingsPath, UnknownDirectoryFallsBackToTheWorkingDirectory) {
    char path[kSettingsPathBytes];
    EXPECT_FALSE(ComposeSettingsPath(nullptr, path));
    EXPECT_STREQ(path, ".\\kirelo.ini");
    std::strcpy(path, "old");
    EXPECT_FALSE(ComposeSettingsPath("", path));
    EXPECT_STREQ(path, ".\\kirelo.ini");
    const std::string huge(5000, 'x');
    EXPECT_FALSE(ComposeSettingsPath(huge.c_str(), path));
    EXPECT_STREQ(path, ".\\kirelo.ini");
}

}  // namespace
