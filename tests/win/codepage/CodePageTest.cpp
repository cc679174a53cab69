// Real message boxes, the tray tip, the menu and dropped file names under the locale the test runs
// in (code page 932 or 1252, from KIRELO_EXPECT_ACP): Japanese texts in Japanese, English ones in
// English (en_US.UTF-8), each read back as wide text.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/ImagingMessages.h"
#include "base/MessageSeam.h"
#include "platform/AppWindow.h"
#include "platform/UiText.h"
#include "platform/WideText.h"
#include "resources/ResourceIds.h"
#include "resources/TextIds.h"
#include "shell/HelpViewer.h"
#include "shell/DroppedFile.h"
#include "shell/TrayIcon.h"
#include "tests/common/MessageBoxes.h"
#include "tests/common/TempDirectory.h"

namespace {

UINT ExpectedCodePage() {
    char value[16] = {};
    GetEnvironmentVariableA("KIRELO_EXPECT_ACP", value, sizeof(value));
    return static_cast<UINT>(std::strtoul(value, nullptr, 10));
}

TEST(CodePage, WineRunsInTheExpectedSystemCodePage) {
    const UINT expected = ExpectedCodePage();
    ASSERT_NE(expected, 0u) << "KIRELO_EXPECT_ACP is not set";
    EXPECT_EQ(GetACP(), expected);
}

TEST(CodePage, ConversionIsFromCodePage932Always) {
    EXPECT_EQ(WideFromCp932("ファイルタイプエラー"), L"ファイルタイプエラー");
    EXPECT_EQ(WideFromCp932("終了(&X)"), L"終了(&X)");
    EXPECT_EQ(WideFromCp932("abc"), L"abc");
    EXPECT_EQ(WideFromCp932(""), L"");
    EXPECT_EQ(WideFromCp932(nullptr), L"");
    // A lead byte without its trail byte is not 932 text.
    EXPECT_EQ(WideFromCp932("\x83"), L"");
}

// What a box showed, read back from its window by a second thread, which then presses OK.
struct BoxReading {
    std::wstring caption;
    std::wstring text;
    bool seen = false;
};

// Shows the box through the program's own sink and reads it back.
BoxReading ShowAndRead(const std::function<void()>& raise) {
    BoxReading reading;
    static const std::unique_ptr<AppWindow> noApp;  // no main window: the box has no owner
    InstallMessageBoxSink(noApp, nullptr);
    const DWORD thread = GetCurrentThreadId();
    {
        Helper user([&] {
            HWND box = WaitForBox(thread, nullptr);
            // The box fills its text control before it shows; read until it holds something.
            const DWORD start = GetTickCount();
            while (box != nullptr && BoxText(box, false).empty() && GetTickCount() - start < 3000) {
                Sleep(10);
            }
            if (box != nullptr) {
                reading = {BoxText(box, true), BoxText(box, false), true};
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        });
        raise();
    }
    SetMessageSink(nullptr);
    return reading;
}

// The language the test runs in follows from its locale: Japanese with code page 932, English
// with 1252 (en_US.UTF-8).
bool JapaneseExpected() {
    return ExpectedCodePage() == 932;
}

TEST(Language, TheUsersLanguageIsChosenFromTheLocale) {
    EXPECT_EQ(UiText::Chosen(), JapaneseExpected() ? UiText::kJapanese : UiText::kEnglish);
    EXPECT_STREQ(HelpViewer::FileFor(UiText::Chosen()),
                 JapaneseExpected() ? "KireloHelp.chm" : "KireloHelpEn.chm");
}

// Every box a user can meet, shown for real through the program's own sink and read back. The
// words of each text in both languages are pinned by the resources test; here the box must show
// the ones of the locale's language.
TEST(Language, RealMessageBoxesShowTheTextsOfTheUsersLanguage) {
    const LANGID language = JapaneseExpected() ? UiText::kJapanese : UiText::kEnglish;
    const uint32_t boxes[][2] = {{IDS_NOT_BITMAP, IDS_NOT_BITMAP_CAPTION},
                                 {IDS_TOO_NARROW, IDS_TOO_SMALL_CAPTION},
                                 {IDS_BAD_BITMAP, IDS_BAD_BITMAP_CAPTION},
                                 {IDS_FOUND, IDS_FOUND_CAPTION},
                                 {IDS_THANK_YOU, IDS_THANK_YOU_CAPTION}};
    for (const auto& c : boxes) {
        const BoxReading box =
            ShowAndRead([&] { ShowProgramMessage(c[0], c[1], mb::kOk | mb::kIconWarning); });
        ASSERT_TRUE(box.seen) << "no message box came up for text " << c[0];
        EXPECT_EQ(box.caption, UiText::Text(c[1], language));
        EXPECT_EQ(box.text, UiText::Text(c[0], language));
        EXPECT_FALSE(box.text.empty());
    }
    // The refused picture's box, the way the program raises it.
    const BoxReading refused =
        ShowAndRead([] { ReportBmpError(BmpError::NotBitmap, BmpSource::File); });
    ASSERT_TRUE(refused.seen);
    EXPECT_EQ(refused.caption, UiText::Text(IDS_NOT_BITMAP_CAPTION, language));
    EXPECT_EQ(refused.caption, JapaneseExpected() ? L"ファイルタイプエラー" : L"Not a picture");
}

TEST(Language, TrayTipIsInTheUsersLanguage) {
    TrayIcon icon(nullptr, GetModuleHandleA(nullptr));
    EXPECT_EQ(icon.Data().cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_STREQ(icon.Data().szTip,
                 JapaneseExpected() ? L"ありさんを幸せにしてあげてね" : L"Make the ants happy!");
}

TEST(Language, TheMenuIsInTheUsersLanguage) {
    HMENU bar = UiText::Menu(IDR_POPUPMENU);
    ASSERT_NE(bar, nullptr);
    wchar_t first[64] = {};
    GetMenuStringW(GetSubMenu(bar, 0), 0, first, 64, MF_BYPOSITION);
    EXPECT_STREQ(first, JapaneseExpected() ? L"表示(&V)" : L"&View");
    DestroyMenu(bar);
}

// A fresh folder under the temporary directory, removed with its files at the end.
class DroppedNameTest : public ::testing::Test {
  protected:
    std::wstring MakeFile(const std::wstring& name, const std::string& content) {
        const std::wstring path = dir_ + L"\\" + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    }
    // The content read through the ANSI call, as the loader reads a background.
    static std::string ReadAnsi(const std::string& path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return "<cannot open>";
        }
        char buffer[64] = {};
        DWORD read = 0;
        ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
        CloseHandle(file);
        return std::string(buffer, read);
    }
    const TempDirectory directory_{L"kirelo-cp-", false};
    const std::wstring dir_ = directory_.wide();
};

TEST_F(DroppedNameTest, EveryNameGivesAnAnsiPathToTheSameFile) {
    // Plain, Japanese (outside 1252), accented Latin (outside 932), and both at once.
    const std::vector<std::wstring> names = {L"leaves.bmp", L"蟻の庭.bmp", L"caf\u00e9.bmp",
                                             L"caf\u00e9 \u8776.bmp"};
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string content = "picture " + std::to_string(i);
        const std::wstring path = MakeFile(names[i], content);
        const std::string ansi = AnsiPathFor(path);
        ASSERT_FALSE(ansi.empty()) << "no ANSI path for name " << i;
        EXPECT_EQ(ansi.find('?'), std::string::npos) << ansi;
        EXPECT_EQ(ReadAnsi(ansi), content) << "name " << i << " as " << ansi;
    }
}

TEST_F(DroppedNameTest, NamesTheCodePageHoldsStayAsTheyAre) {
    const std::wstring path = MakeFile(L"leaves.bmp", "x");
    char expected[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, expected, MAX_PATH, nullptr, nullptr);
    EXPECT_EQ(AnsiPathFor(path), expected);
    if (GetACP() == 932) {
        const std::wstring japanese = MakeFile(L"蟻の庭.bmp", "y");
        EXPECT_NE(AnsiPathFor(japanese).find("蟻の庭.bmp"), std::string::npos);
    }
}

TEST_F(DroppedNameTest, MissingFileWithAForeignNameGivesNothing) {
    EXPECT_EQ(AnsiPathFor(dir_ + L"\\\u8776\u00e9-missing.bmp"), "");
    EXPECT_EQ(AnsiPathFor(L""), "");
}

}  // namespace
