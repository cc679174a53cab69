// The tray icon (its record, the show/hide toggle, its menu, the return after a taskbar restart),
// a second start of the program, and the help command with the help file absent.
#include "ShellTestSupport.h"
#include "shell/HelpViewer.h"
#include "shell/SecondStart.h"
#include "shell/TrayIcon.h"

#include <cstring>

namespace shelltest {
namespace {

class TrayTest : public ShellWindowTest {
  protected:
    LRESULT Tray(WPARAM id, LPARAM mouse) {
        return SendMessageA(window_, WM_TRAYNOTIFY, id, mouse);
    }
    // Whether the shell knows the icon: changing the tip of a missing icon fails.
    bool IconPresent() {
        NOTIFYICONDATAW data = TestProgram().trayIcon->Data();
        data.uFlags = NIF_TIP;
        return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
};

TEST_F(TrayTest, RecordIsTheFirstLayoutWithTheProgramsIconAndTip) {
    ASSERT_NE(TestProgram().trayIcon.get(), nullptr);
    const NOTIFYICONDATAW& data = TestProgram().trayIcon->Data();
    EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_EQ(data.hWnd, window_);
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, WM_TRAYNOTIFY);
    ASSERT_NE(data.hIcon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(data.hIcon, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, 16);
    EXPECT_EQ(info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2, 16);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    // Wide, so the tip reads the same whatever the system code page.
    EXPECT_STREQ(data.szTip, L"ありさんを幸せにしてあげてね");
    EXPECT_TRUE(IconPresent());
}

// A left press hides the glass that has the focus or is recorded shown, and shows it otherwise;
// right after the start (hidden, recorded shown) it only records it hidden. Other icons and
// events change nothing.
TEST_F(TrayTest, LeftPressTogglesTheWindow) {
    const struct {
        bool visible;
        int recorded;
        int32_t focus;
        WPARAM icon;
        LPARAM event;
        bool visibleAfter;
        int recordedAfter;
    } presses[] = {
        {true, 1, 0, 1, WM_LBUTTONDOWN, false, 0}, {false, 0, 0, 1, WM_LBUTTONDOWN, true, 1},
        {true, 0, 1, 1, WM_LBUTTONDOWN, false, 0}, {false, 1, 0, 1, WM_LBUTTONDOWN, false, 0},
        {true, 1, 0, 2, WM_LBUTTONDOWN, true, 1},  {true, 1, 0, 1, WM_LBUTTONUP, true, 1},
        {true, 1, 0, 1, WM_MOUSEMOVE, true, 1},    {true, 1, 0, 1, WM_LBUTTONDBLCLK, true, 1},
    };
    for (const auto& p : presses) {
        SCOPED_TRACE(::testing::Message() << p.visible << p.recorded << p.focus << " icon "
                                          << p.icon << " event " << p.event);
        ShowWindow(window_, p.visible ? SW_SHOW : SW_HIDE);
        TestProgram().state.windowShown = p.recorded;
        shared.hasFocus = p.focus;
        Tray(p.icon, p.event);
        EXPECT_EQ(IsWindowVisible(window_) != FALSE, p.visibleAfter);
        EXPECT_EQ(TestProgram().state.windowShown, p.recordedAfter);
    }
    // Shown again in front with the remembered z-order.
    for (int32_t topmost : {0, 1}) {
        TestProgram().state.topmost = topmost;
        Tray(1, WM_LBUTTONDOWN);
        Tray(1, WM_LBUTTONDOWN);
        EXPECT_TRUE(IsWindowVisible(window_));
        EXPECT_EQ((GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, topmost == 1);
    }
}

TEST_F(TrayTest, RightPressOpensTheContextMenuAsNotificationAreaMenusOpen) {
    // Shown or hidden, the owner is brought to the foreground first (else the menu keeps neither
    // Escape nor a click elsewhere), and WM_NULL follows the menu.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    for (const bool shown : {true, false}) {
        ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
        ShowWindow(other, SW_SHOW);
        SetForegroundWindow(other);
        ASSERT_EQ(GetForegroundWindow(), other);
        // The focus changes reach the display first: a stale one would cancel the menu.
        PumpUntil(150);
        TestProgram().state.pointer.overRim = 0;
        ASSERT_TRUE(SetCursorPos(500, 400));
        CloseTheNextMenu();
        Tray(1, WM_RBUTTONDOWN);
        const SeenMenu& menu = LastMenu();
        EXPECT_EQ(menu.seen, 1) << shown;
        EXPECT_EQ(menu.foreground, window_) << shown;
        EXPECT_TRUE(NullPosted(window_)) << shown;
        EXPECT_EQ(TestProgram().state.pointer.overRim, 1);
        // Above the pointer, on the side the system drops menus to.
        EXPECT_EQ(menu.rect.bottom, 400) << shown;
        if (GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0) {
            EXPECT_EQ(menu.rect.right, 500) << shown;
        } else {
            EXPECT_EQ(menu.rect.left, 500) << shown;
        }
    }
    EXPECT_EQ(TrayMenuFlags() & ~static_cast<UINT>(TPM_RIGHTALIGN),
              static_cast<UINT>(TPM_RIGHTBUTTON | TPM_BOTTOMALIGN));
    EXPECT_TRUE(IsWindow(window_));
    DestroyWindow(other);
}

// A second start posts its request to the running main window, found by its class.
TEST_F(TrayTest, SecondStartShowsRaisesAndFocusesTheGlassAndChangesNothingElse) {
    MoveTo(window_, 240, 130);
    HWND cover = CreateWindowExA(0, "STATIC", "cover", WS_POPUP, 200, 100, 400, 400, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    TestProgram().state.windowShown = 0;
    shared.hasFocus = 0;
    ShowWindow(cover, SW_SHOW);
    SetForegroundWindow(cover);
    const std::string pflag = ReadIni("Status", "PFlag");
    BringRunningInstanceForward();
    EXPECT_TRUE(PumpUntil(1000, [&] { return IsWindowVisible(window_) != FALSE; }));
    PumpUntil(100);
    EXPECT_EQ(TestProgram().state.windowShown, 1);
    EXPECT_EQ(GetForegroundWindow(), window_);
    EXPECT_EQ(GetFocus(), window_);
    EXPECT_EQ(shared.hasFocus, 1);
    EXPECT_TRUE(Above(window_, cover));
    EXPECT_EQ(Corner(window_), (ScreenPoint{240, 130}));
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST,
              0);  // TestProgram().state.topmost is 0
    EXPECT_EQ(ReadIni("Status", "PFlag"), pflag);
    EXPECT_EQ(shared.running.load(), 1);
    DestroyWindow(cover);
}

TEST_F(TrayTest, SecondStartDuringTheSplashLeavesTheGlassToTheSplash) {
    // The splash is up (any window stands for it): the glass comes when the splash ends.
    TestProgram().state.splashWindow = window_;
    TestProgram().state.windowShown = 1;
    SendMessageA(window_, WM_SECONDSTART, 0, 0);
    TestProgram().state.splashWindow = nullptr;
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(TestProgram().state.windowShown, 1);
}

TEST_F(TrayTest, TaskbarRestartBringsTheIconBack) {
    ASSERT_NE(TestProgram().state.taskbarCreatedMessage, 0u);
    EXPECT_EQ(TestProgram().state.taskbarCreatedMessage, RegisterWindowMessageA("TaskbarCreated"));
    // The shell forgot the icon, as when the taskbar restarts.
    NOTIFYICONDATAW data = TestProgram().trayIcon->Data();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(IconPresent());
    SendMessageA(window_, TestProgram().state.taskbarCreatedMessage, 0, 0);
    EXPECT_TRUE(IconPresent());
}

TEST_F(TrayTest, DestroyRemovesTheIcon) {
    NOTIFYICONDATAW data = TestProgram().trayIcon->Data();
    Command(IDM_EXIT);
    EXPECT_TRUE(PumpUntilQuit(1000));
    EXPECT_EQ(TestProgram().trayIcon.get(), nullptr);
    data.uFlags = NIF_TIP;
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data));
}

class HelpTest : public ShellWindowTest {};

// Top-level windows of this process other than the program's own classes.
int ForeignWindows() {
    struct Count {
        int n = 0;
    } count;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            char name[64] = {};
            GetClassNameA(window, name, sizeof(name));
            if (pid == GetCurrentProcessId() && IsWindowVisible(window) &&
                std::strcmp(name, "#32768") != 0) {
                ++reinterpret_cast<Count*>(param)->n;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.n;
}

TEST_F(HelpTest, AbsentHelpFileShowsNothingAndTheProgramGoesOn) {
    ASSERT_NE(TestProgram().helpViewer.get(), nullptr);
    ASSERT_FALSE(FileExists(dir_ + "\\KireloHelp.chm"));
    const int before = ForeignWindows();
    EXPECT_EQ(Command(IDM_HELP), 0);
    PumpUntil(300);
    EXPECT_EQ(recorder_.size(), 0u);
    EXPECT_EQ(ForeignWindows(), before);
    EXPECT_EQ(TestProgram().helpViewer->LoadAttempts(), 1);
    // The control was found and is kept: a second request does not look again.
    EXPECT_TRUE(TestProgram().helpViewer->Load());
    EXPECT_EQ(Command(IDM_HELP), 0);
    EXPECT_EQ(TestProgram().helpViewer->LoadAttempts(), 1);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(shared.running.load(), 1);
}

TEST(HelpViewer, FindsTheRegisteredControlAndItsEntry) {
    HelpViewer viewer(kHtmlHelpClassKey, "");  // no fallback: the registry alone must do
    EXPECT_TRUE(viewer.Load());
}

TEST(HelpViewer, FallsBackToTheLibraryName) {
    HelpViewer viewer("CLSID\\{00000000-0000-0000-0000-00000000F00D}\\InprocServer32",
                      "hhctrl.ocx");
    EXPECT_TRUE(viewer.Load());
}

TEST(HelpViewer, MissingControlIsNotTriedAgain) {
    HelpViewer viewer("CLSID\\{00000000-0000-0000-0000-00000000F00D}\\InprocServer32",
                      "no-such-help-control.ocx");
    MessageRecorder recorder;
    EXPECT_EQ(viewer.Show(nullptr), nullptr);
    EXPECT_EQ(viewer.Show(nullptr), nullptr);
    EXPECT_FALSE(viewer.Load());
    EXPECT_EQ(viewer.LoadAttempts(), 1);
    EXPECT_EQ(recorder.size(), 0u);
}

}  // namespace
}  // namespace shelltest
