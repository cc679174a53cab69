// The main window at message level: creation, the settings read at start, every command with its
// check marks, flags and settings writes, dropped files, focus, painting, and the ways out.
#include <shellapi.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "shell/TrayIcon.h"
#include "simulation/Keyboard.h"

namespace shelltest {
namespace {

class MainWindowTest : public ShellWindowTest {};

TEST_F(MainWindowTest, CreationMakesTheImagesAndStartsTheThread) {
    EXPECT_EQ(MainWindow, window_);
    ASSERT_NE(TheAppWindow, nullptr);
    EXPECT_EQ(TheAppWindow->GetHWnd(), window_);
    EXPECT_EQ(SimulationRunning.load(), 1);
    ASSERT_NE(SimulationThread, nullptr);
    EXPECT_EQ(WaitForSingleObject(SimulationThread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_NE(FrameImage, nullptr);
    EXPECT_EQ(FrameImage->GetWidth(), 300);
    EXPECT_EQ(FrameImage->GetHeight(), 360);
    EXPECT_EQ(FrameImage->GetBitCount(), 32);
    ASSERT_NE(FieldCanvas, nullptr);
    EXPECT_EQ(FieldCanvas->GetBitCount(), 32);
    ASSERT_NE(MagnifierImage, nullptr);
    EXPECT_EQ(MagnifierImage->GetWidth(), 300);
    EXPECT_EQ(MagnifierImage->GetHeight(), 720);
    EXPECT_NE(FieldImage, nullptr);
    EXPECT_NE(AntSprites, nullptr);
    EXPECT_NE(BallImage, nullptr);
    EXPECT_NE(HeartImage, nullptr);
    // The magnifier is laid into the frame where its mask is not white, and only there.
    int laid = 0;
    int mismatches = 0;
    for (int y = 0; y < 360; y += 3) {
        for (int x = 0; x < 300; x += 3) {
            const uint32_t mask = MagnifierImage->GetLine(360 + y)[x] & 0xFFFFFF;
            const uint32_t frame = FrameImage->GetLine(y)[x] & 0xFFFFFF;
            if (mask != 0xFFFFFF) {
                ++laid;
                mismatches += frame != (MagnifierImage->GetLine(y)[x] & 0xFFFFFF) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(laid, 1000);
    EXPECT_EQ(mismatches, 0);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    EXPECT_NE(StickCursor, nullptr);
    EXPECT_NE(BinocularsCursor, nullptr);
    EXPECT_NE(StickCursor, BinocularsCursor);
}

TEST_F(MainWindowTest, MissingSettingsFileGivesTheDefaultsAndCreatesNoFile) {
    EXPECT_TRUE(Checked(IDM_TRAIL_SHOW));
    EXPECT_FALSE(Checked(IDM_TRAIL_HIDE));
    EXPECT_FALSE(Checked(IDM_TOPMOST));
    EXPECT_TRUE(Checked(IDM_NORMAL));
    EXPECT_TRUE(Checked(IDM_WAIT_ON));
    EXPECT_FALSE(Checked(IDM_WAIT_OFF));
    EXPECT_EQ(HideTrails.load(), 0);
    EXPECT_EQ(Topmost, 0);
    EXPECT_EQ(FrameWaitMs.load(), 80);
    char name[kPathBytes];
    GetBackgroundFileName(name);
    EXPECT_STREQ(name, "Resource");
    EXPECT_EQ(std::string(SettingsPath), IniPath());
    EXPECT_TRUE(Settings::FullPath());
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // The start values of the shared flags.
    EXPECT_EQ(FollowBall.load(), 1);
    EXPECT_EQ(PointerOverRim, 1);
    EXPECT_EQ(WindowShown, 1);
    EXPECT_EQ(ExitRequested.load(), 0);
    EXPECT_EQ(SplashDone.load(), 0);
    EXPECT_EQ(BackgroundChanged.load(), 0);
    EXPECT_EQ(PanDragging, 0);
    // Never shown before the splash ends: a map and unmap at creation leaves a managed window
    // with a stale position in the display driver.
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(MainShows(), 0);
    EXPECT_FALSE(FileExists(IniPath()));
}

class StoredSettingsTest : public ShellWindowTest {
  protected:
    void PrepareDirectory() override {
        WriteIni("BackBitmapTexture", "FileName", "C:\\pictures\\garden.bmp");
        WriteIni("Status", "PFlag", "2");
        WriteIni("Status", "Window Z_Order", "1");
        WriteIni("Status", "Wait ON", "0");
    }
};

TEST_F(StoredSettingsTest, StoredValuesSetMarksZOrderWaitAndBackground) {
    EXPECT_EQ(HideTrails.load(), 2);  // kept as read
    EXPECT_FALSE(Checked(IDM_TRAIL_SHOW));
    EXPECT_TRUE(Checked(IDM_TRAIL_HIDE));
    EXPECT_TRUE(Checked(IDM_TOPMOST));
    EXPECT_FALSE(Checked(IDM_NORMAL));
    EXPECT_EQ(Topmost, 1);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(MainShows(), 0);
    // Shown at the splash's end, still in front of all others.
    EXPECT_EQ(SendMessageA(window_, WM_SPLASHEND, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(Checked(IDM_WAIT_ON));
    EXPECT_TRUE(Checked(IDM_WAIT_OFF));
    EXPECT_EQ(FrameWaitMs.load(), 0);
    char name[kPathBytes];
    GetBackgroundFileName(name);
    EXPECT_STREQ(name, "C:\\pictures\\garden.bmp");
    // Nothing is written back at start: "PFlag" keeps its 2.
    EXPECT_EQ(ReadIni("Status", "PFlag"), "2");
}

TEST_F(MainWindowTest, TrailCommandsCheckSetAndWrite) {
    EXPECT_EQ(Command(IDM_TRAIL_HIDE), 0);
    EXPECT_FALSE(Checked(IDM_TRAIL_SHOW));
    EXPECT_TRUE(Checked(IDM_TRAIL_HIDE));
    EXPECT_EQ(HideTrails.load(), 1);
    EXPECT_EQ(ReadIni("Status", "PFlag"), "1");
    EXPECT_EQ(Command(IDM_TRAIL_SHOW), 0);
    EXPECT_TRUE(Checked(IDM_TRAIL_SHOW));
    EXPECT_FALSE(Checked(IDM_TRAIL_HIDE));
    EXPECT_EQ(HideTrails.load(), 0);
    EXPECT_EQ(ReadIni("Status", "PFlag"), "0");
    // The item already checked writes its value again.
    WriteIni("Status", "PFlag", "7");
    Command(IDM_TRAIL_SHOW);
    EXPECT_EQ(ReadIni("Status", "PFlag"), "0");
}

TEST_F(MainWindowTest, ZOrderCommandsShowTheWindowButKeepWindowShown) {
    WindowShown = 0;
    EXPECT_EQ(Command(IDM_TOPMOST), 0);
    EXPECT_TRUE(Checked(IDM_TOPMOST));
    EXPECT_FALSE(Checked(IDM_NORMAL));
    EXPECT_EQ(Topmost, 1);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(WindowShown, 0);
    EXPECT_EQ(ReadIni("Status", "Window Z_Order"), "1");
    ShowWindow(window_, SW_HIDE);
    EXPECT_EQ(Command(IDM_NORMAL), 0);
    EXPECT_FALSE(Checked(IDM_TOPMOST));
    EXPECT_TRUE(Checked(IDM_NORMAL));
    EXPECT_EQ(Topmost, 0);
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(ReadIni("Status", "Window Z_Order"), "0");
}

TEST_F(MainWindowTest, WaitCommandsCheckSetAndWrite) {
    Command(IDM_WAIT_OFF);
    EXPECT_FALSE(Checked(IDM_WAIT_ON));
    EXPECT_TRUE(Checked(IDM_WAIT_OFF));
    EXPECT_EQ(FrameWaitMs.load(), 0);
    EXPECT_EQ(ReadIni("Status", "Wait ON"), "0");
    Command(IDM_WAIT_ON);
    EXPECT_TRUE(Checked(IDM_WAIT_ON));
    EXPECT_FALSE(Checked(IDM_WAIT_OFF));
    EXPECT_EQ(FrameWaitMs.load(), 80);
    EXPECT_EQ(ReadIni("Status", "Wait ON"), "1");
    // No other key was written by these commands.
    EXPECT_EQ(ReadIni("Status", "PFlag"), "<none>");
    EXPECT_EQ(ReadIni("BackBitmapTexture", "FileName"), "<none>");
}

TEST_F(MainWindowTest, BackgroundResetRequestsTheBuiltInPictureAndWritesAtOnce) {
    SetBackgroundFileName("C:\\old.bmp");
    BackgroundChanged = 0;
    Command(IDM_BACKGROUND_RESET);
    EXPECT_EQ(BackgroundChanged.load(), 1);
    char name[kPathBytes];
    GetBackgroundFileName(name);
    EXPECT_STREQ(name, "Resource");
    EXPECT_EQ(ReadIni("BackBitmapTexture", "FileName"), "Resource");
}

TEST_F(MainWindowTest, CentreShowsTheHiddenWindowCentredWithItsZOrder) {
    Command(IDM_TOPMOST);
    ShowWindow(window_, SW_HIDE);
    WindowShown = 0;
    SetWindowPos(window_, nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Command(IDM_CENTER);
    RECT rect{};
    GetWindowRect(window_, &rect);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 360) / 2);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 360);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(WindowShown, 1);
}

TEST_F(MainWindowTest, UnknownCommandChangesNothing) {
    EXPECT_EQ(Command(40012), 0);
    EXPECT_EQ(Command(40007), 0);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(SimulationRunning.load(), 1);
    EXPECT_FALSE(FileExists(IniPath()));
    EXPECT_EQ(recorder_.size(), 0u);
}

// The shell's DropHeader header (shlobj.h, which the lean Windows headers leave out).
struct DropHeader {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

// A drop handle as the shell hands it over: the header followed by the ANSI names.
HDROP MakeDrop(const std::vector<std::string>& files) {
    size_t bytes = sizeof(DropHeader) + 1;
    for (const std::string& f : files) {
        bytes += f.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DropHeader*>(GlobalLock(memory));
    drop->pFiles = sizeof(DropHeader);
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop) + sizeof(DropHeader);
    for (const std::string& f : files) {
        std::memcpy(names, f.c_str(), f.size() + 1);
        names += f.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainWindowTest, DropTakesTheFirstFileOnlyAndWritesNoSettings) {
    BackgroundChanged = 0;
    SendMessageA(window_, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({"C:\\a\\first.bmp", "C:\\b\\second.bmp"})), 0);
    EXPECT_EQ(BackgroundChanged.load(), 1);
    char name[kPathBytes];
    GetBackgroundFileName(name);
    EXPECT_STREQ(name, "C:\\a\\first.bmp");
    // The simulation thread writes the name only after it has loaded the picture.
    EXPECT_FALSE(FileExists(IniPath()));
}

TEST_F(MainWindowTest, DropOfALongNameIsCutToTheBuffer) {
    const std::string longName = "C:\\" + std::string(400, 'n') + ".bmp";
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({longName})), 0);
    char name[kPathBytes];
    GetBackgroundFileName(name);
    EXPECT_EQ(std::strlen(name), static_cast<size_t>(kPathBytes - 1));
    EXPECT_EQ(std::string(name), longName.substr(0, kPathBytes - 1));
}

TEST_F(MainWindowTest, FocusSetsAndClearsHasFocus) {
    HasFocus = 0;
    SendMessageA(window_, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(HasFocus.load(), 1);
    SendMessageA(window_, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(HasFocus.load(), 0);
}

namespace {
std::atomic<int> escapeQueries{0};  // the simulation thread may query too
SHORT WINAPI EscapeStillDown(int key) {
    // Escape reads as down for its first two queries, then released; other keys are up.
    if (key != VK_ESCAPE) {
        return 0;
    }
    ++escapeQueries;
    return escapeQueries <= 2 ? static_cast<SHORT>(0x8001) : 0;
}
}  // namespace

TEST_F(MainWindowTest, AnOpenMenuKeepsEscapeFromEndingTheRun) {
    SetForegroundWindow(window_);
    SetFocus(window_);
    ASSERT_EQ(GetFocus(), window_);
    SendMessageA(window_, WM_SETFOCUS, 0, 0);
    ASSERT_EQ(HasFocus.load(), 1);
    const KeyStateFunction saved = QueryKeyState;
    QueryKeyState = &EscapeStillDown;
    escapeQueries = 0;
    SendMessageA(window_, WM_ENTERMENULOOP, TRUE, 0);
    EXPECT_EQ(HasFocus.load(), 0);
    EXPECT_EQ(PollKeyboard(), kKeyNothing);  // the Escape that closes the menu
    EXPECT_EQ(escapeQueries, 0);
    // Closing the menu gives the focus back only after the press is drained.
    SendMessageA(window_, WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(HasFocus.load(), 1);
    EXPECT_GE(escapeQueries, 3);
    EXPECT_EQ(PollKeyboard(), kKeyNothing);
    QueryKeyState = saved;
}

TEST_F(MainWindowTest, AMenuClosedWhileTheFocusIsElsewhereLeavesItThere) {
    SendMessageA(window_, WM_ENTERMENULOOP, TRUE, 0);
    SetFocus(nullptr);
    SendMessageA(window_, WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(HasFocus.load(), 0);
}

TEST_F(MainWindowTest, PaintCopiesTheFrameAndEraseDoesNothing) {
    // A pattern in the frame, painted into a memory DC, must come out pixel for pixel.
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 300; ++x) {
            FrameImage->GetLine(y)[x] =
                static_cast<uint32_t>((x * 3) << 16 | (y * 5 & 0xFF) << 8 | 7);
        }
    }
    DIBImage target;
    target.ChangeBitCount(32);
    target.SetWidth(300);
    target.SetHeight(360);
    PaintFrame(target.GetMemoryDC()->GetHDC());
    GdiFlush();
    int wrong = 0;
    for (int y = 0; y < 360; y += 7) {
        for (int x = 0; x < 300; x += 7) {
            wrong += (target.GetLine(y)[x] & 0xFFFFFF) != (FrameImage->GetLine(y)[x] & 0xFFFFFF);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(SendMessageA(window_, WM_ERASEBKGND, 0, 0), 0);
}

TEST_F(MainWindowTest, SplashEndDestroysTheSplash) {
    HWND splash = startup_->ShowSplash();
    ASSERT_TRUE(IsWindow(splash));
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_EQ(GetWindow(splash, GW_OWNER), window_);
    EXPECT_EQ(SendMessageA(window_, WM_SPLASHEND, 0, 0), 0);
    EXPECT_FALSE(IsWindow(splash));
}

// Exit, from the menu: the order of the exit sequence and what WM_DESTROY leaves behind.
TEST_F(MainWindowTest, ExitStopsTheThreadDestroysEveryWindowAndPostsQuit) {
    StrayAntActive = 1;
    ShowWindow(StrayWindows[kStrayAntIndex], SW_SHOWNOACTIVATE);
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), SimulationThread, GetCurrentProcess(), &thread,
                    SYNCHRONIZE, FALSE, 0);
    EXPECT_EQ(Command(IDM_EXIT), 0);
    EXPECT_EQ(ExitRequested.load(), 1);
    EXPECT_EQ(SimulationRunning.load(), 0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(thread);
    EXPECT_FALSE(IsWindow(window_));
    for (HWND stray : StrayWindows) {
        EXPECT_FALSE(IsWindow(stray));
    }
    EXPECT_EQ(AppMenu, nullptr);
    EXPECT_EQ(SimulationThread, nullptr);
    EXPECT_EQ(TheTrayIcon, nullptr);
    // The thread had ended: the shell's own objects went at WM_DESTROY.
    EXPECT_EQ(TheAppWindow, nullptr);
    EXPECT_EQ(TheScreen, nullptr);
    // The images wait for the window side's lease.
    EXPECT_NE(FrameImage, nullptr);
    EXPECT_NE(AntSprites, nullptr);
    EXPECT_NE(StrayAntRecord, nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
    ReleaseWorldLease();
    EXPECT_EQ(FrameImage, nullptr);
    EXPECT_EQ(AntSprites, nullptr);
    EXPECT_EQ(HeartImage, nullptr);
    EXPECT_EQ(StrayAntRecord, nullptr);
    ResetWorldLease();  // the fixture lets go once more
    ReleaseWorldLease();
}

TEST_F(MainWindowTest, CloseRequestRunsTheExitSequence) {
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitRequested.load(), 1);
    EXPECT_EQ(SimulationRunning.load(), 0);
    EXPECT_FALSE(IsWindow(window_));
    for (HWND stray : StrayWindows) {
        EXPECT_FALSE(IsWindow(stray));
    }
    EXPECT_TRUE(PumpUntilQuit(1000));
}

TEST_F(MainWindowTest, SecondCloseDuringTheExitDoesNothingMore) {
    // Nothing may run the sequence twice: a second Exit after the first finds no window.
    Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(Command(IDM_EXIT), 0);
    EXPECT_TRUE(PumpUntilQuit(1000));
}

// A thread that stays in a long pause of its own (a message box, the splash pause) until the
// test lets it go, and then lets go of the world.
std::atomic<int> g_hold{0};
DWORD WINAPI PausedSimulation(LPVOID) {
    while (g_hold != 0) {
        Sleep(2);
    }
    ReleaseWorldLease();
    return 0;
}

class PausedThreadTest : public ShellWindowTest {
  protected:
    LPTHREAD_START_ROUTINE Simulation() override {
        g_hold = 1;
        return &PausedSimulation;
    }
    void TearDown() override {
        g_hold = 0;
        ShellWindowTest::TearDown();
    }
};

TEST_F(PausedThreadTest, ExitDuringAPauseKeepsWhatTheThreadStillReads) {
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), SimulationThread, GetCurrentProcess(), &thread,
                    SYNCHRONIZE, FALSE, 0);
    Command(IDM_EXIT);
    // The bounded wait ran out with the thread still inside its pause.
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(thread);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(PumpUntilQuit(1000));
    // The thread lives on: screen and window objects stay for it, and so do the images after
    // the window side has let go.
    EXPECT_NE(TheScreen, nullptr);
    EXPECT_NE(TheAppWindow, nullptr);
    ReleaseWorldLease();
    EXPECT_NE(FrameImage, nullptr);
    EXPECT_NE(StrayAntRecord, nullptr);
    EXPECT_FALSE(FinishShell(50));
    EXPECT_NE(TheScreen, nullptr);
    g_hold = 0;
    EXPECT_TRUE(FinishShell(2000));
    EXPECT_EQ(TheScreen, nullptr);
    EXPECT_EQ(TheAppWindow, nullptr);
    EXPECT_EQ(FrameImage, nullptr);
    EXPECT_EQ(StrayAntRecord, nullptr);
    ResetWorldLease();
    ReleaseWorldLease();  // the fixture's release and the stand-in's are spent
}

// A thread that ends by itself (as on Escape) and asks for Exit with a synchronous send.
std::atomic<int> g_endNow{0};
DWORD WINAPI SelfEndingSimulation(LPVOID window) {
    while (g_endNow == 0 && SimulationRunning != 0) {
        Sleep(2);
    }
    if (ExitRequested == 0) {
        SendMessageA(static_cast<HWND>(window), WM_COMMAND, IDM_EXIT, 0);
    }
    ReleaseWorldLease();
    return 0;
}

class SelfEndingThreadTest : public ShellWindowTest {
  protected:
    LPTHREAD_START_ROUTINE Simulation() override {
        g_endNow = 0;
        return &SelfEndingSimulation;
    }
};

TEST_F(SelfEndingThreadTest, ExitSentByTheThreadLetsItFinishBeforeTheWindowsGo) {
    g_endNow = 1;
    ASSERT_TRUE(PumpUntil(3000, [this] { return !IsWindow(window_); }));
    EXPECT_EQ(ExitRequested.load(), 1);
    for (HWND stray : StrayWindows) {
        EXPECT_FALSE(IsWindow(stray));
    }
    // The sender was released and had ended by WM_DESTROY, so nothing had to be kept for it.
    EXPECT_EQ(TheScreen, nullptr);
    EXPECT_EQ(TheAppWindow, nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
}

}  // namespace
}  // namespace shelltest
