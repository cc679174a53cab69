// The help pages for the browser under Wine: where the index page is looked for, what happens
// without it, and the launcher's answer deciding between browser and viewer.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "shell/BrowserHelp.h"
#include "shell/HelpViewer.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TempDirectory.h"

namespace {

// A fresh working directory for one test.
class HelpFolderTest : public ::testing::Test {
  protected:
    void MakeIndexPage() {
        ASSERT_TRUE(CreateDirectoryW((dir_ + L"\\KireloHelp").c_str(), nullptr));
        HANDLE page = CreateFileW((dir_ + L"\\KireloHelp\\index.html").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(page, INVALID_HANDLE_VALUE);
        CloseHandle(page);
    }
    const TempDirectory directory_{L"kirelo-help-", true};
    const std::wstring dir_ = directory_.wide();
};

TEST(BrowserHelp, TheTestsRunUnderWine) {
    EXPECT_TRUE(BrowserHelp::UnderWine());
}

TEST_F(HelpFolderTest, IndexPageLiesInTheFolderNamedAfterTheHelpFile) {
    EXPECT_EQ(BrowserHelp::IndexPageFor("KireloHelp.chm"), dir_ + L"\\KireloHelp\\index.html");
    EXPECT_EQ(BrowserHelp::IndexPageFor("help\\Other.chm"), dir_ + L"\\help\\Other\\index.html");
    EXPECT_EQ(BrowserHelp::IndexPageFor(""), L"");
}

TEST_F(HelpFolderTest, MissingPagesStartNoLauncher) {
    // cmd.exe would answer 0 and count as a browser: it must not even be started.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    BrowserHelp help((std::wstring(system) + L"\\cmd.exe").c_str());
    EXPECT_FALSE(help.Open("KireloHelp.chm"));
}

TEST_F(HelpFolderTest, LauncherThatFindsNoBrowserIsAFailure) {
    MakeIndexPage();
    BrowserHelp missing(L"C:\\no-such-folder\\winebrowser.exe");
    EXPECT_FALSE(missing.Open("KireloHelp.chm"));
    // A launcher that ends with code 1, as winebrowser does when no browser takes the page.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    BrowserHelp failing((std::wstring(system) + L"\\reg.exe").c_str());
    EXPECT_FALSE(failing.Open("KireloHelp.chm"));
}

TEST_F(HelpFolderTest, NoPagesAndNoHelpFileShowNothing) {
    MessageRecorder recorder;
    HelpViewer viewer;
    EXPECT_EQ(viewer.Show(nullptr), nullptr);
    EXPECT_EQ(recorder.size(), 0u);
}

}  // namespace
