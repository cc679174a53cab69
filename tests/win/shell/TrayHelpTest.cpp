// The tray icon (its record, the show/hide toggle, its menu, the return after a taskbar restart)
// and the help command with the help file absent.
#include "ShellTestSupport.h"
#include "shell/HelpViewer.h"
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
        NOTIFYICONDATAW data = TheTrayIcon->Data();
        data.uFlags = NIF_TIP;
        return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
};

TEST_F(TrayTest, RecordIsTheFirstLayoutWithTheProgramsIconAndTip) {
    ASSERT_NE(TheTrayIcon, nullptr);
    const NOTIFYICONDATAW& data = TheTrayIcon->Data();
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

TEST_F(TrayTest, LeftPressTogglesTheWindow) {
    ShowWindow(window_, SW_SHOW);
    ShellState.windowShown = 1;
    Shared.hasFocus = 0;
    Tray(1, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(ShellState.windowShown, 0);
    Tray(1, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(ShellState.windowShown, 1);
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);  // ShellState.topmost is 0
    // Shown again in front with the remembered z-order.
    ShellState.topmost = 1;
    Tray(1, WM_LBUTTONDOWN);
    Tray(1, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(TrayTest, FocusHidesEvenWhenRecordedHidden) {
    ShowWindow(window_, SW_SHOW);
    ShellState.windowShown = 0;
    Shared.hasFocus = 1;
    Tray(1, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(ShellState.windowShown, 0);
}

TEST_F(TrayTest, FirstPressDuringTheSplashOnlyRecordsTheWindowHidden) {
    // Right after start the window is hidden but recorded as shown.
    ASSERT_FALSE(IsWindowVisible(window_));
    ASSERT_EQ(ShellState.windowShown, 1);
    Shared.hasFocus = 0;
    Tray(1, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(ShellState.windowShown, 0);
    Tray(1, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(TrayTest, OtherIconsAndEventsChangeNothing) {
    ShowWindow(window_, SW_SHOW);
    ShellState.windowShown = 1;
    Tray(2, WM_LBUTTONDOWN);
    Tray(1, WM_LBUTTONUP);
    Tray(1, WM_MOUSEMOVE);
    Tray(1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(ShellState.windowShown, 1);
}

int g_trayMenus = 0;
void CALLBACK CloseTrayMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) {
        ++g_trayMenus;
        KillTimer(nullptr, id);
        EndMenu();
    }
}

TEST_F(TrayTest, RightPressOpensTheContextMenu) {
    ShellState.pointer.overRim = 0;
    g_trayMenus = 0;
    SetTimer(nullptr, 0, 50, &CloseTrayMenu);
    Tray(1, WM_RBUTTONDOWN);
    EXPECT_EQ(g_trayMenus, 1);
    EXPECT_EQ(ShellState.pointer.overRim, 1);
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(TrayTest, TaskbarRestartBringsTheIconBack) {
    ASSERT_NE(ShellState.taskbarCreatedMessage, 0u);
    EXPECT_EQ(ShellState.taskbarCreatedMessage, RegisterWindowMessageA("TaskbarCreated"));
    // The shell forgot the icon, as when the taskbar restarts.
    NOTIFYICONDATAW data = TheTrayIcon->Data();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(IconPresent());
    SendMessageA(window_, ShellState.taskbarCreatedMessage, 0, 0);
    EXPECT_TRUE(IconPresent());
}

TEST_F(TrayTest, DestroyRemovesTheIcon) {
    NOTIFYICONDATAW data = TheTrayIcon->Data();
    Command(IDM_EXIT);
    EXPECT_TRUE(PumpUntilQuit(1000));
    EXPECT_EQ(TheTrayIcon, nullptr);
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
    ASSERT_NE(TheHelpViewer, nullptr);
    ASSERT_FALSE(FileExists(dir_ + "\\KireloHelp.chm"));
    const int before = ForeignWindows();
    EXPECT_EQ(Command(IDM_HELP), 0);
    PumpUntil(300);
    EXPECT_EQ(recorder_.size(), 0u);
    EXPECT_EQ(ForeignWindows(), before);
    EXPECT_EQ(TheHelpViewer->LoadAttempts(), 1);
    // The control was found and is kept: a second request does not look again.
    EXPECT_TRUE(TheHelpViewer->Load());
    EXPECT_EQ(Command(IDM_HELP), 0);
    EXPECT_EQ(TheHelpViewer->LoadAttempts(), 1);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(Shared.running.load(), 1);
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
