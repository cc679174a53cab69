// The main window at message level: creation, the settings read at start, every command with its
// check marks, flags and settings writes, dropped files, focus, painting, and the ways out.
#include <shellapi.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "ShellTestSupport.h"
#include "tests/common/PixelCount.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "shell/TrayIcon.h"
#include "simulation/Keyboard.h"

namespace shelltest {
namespace {

class MainWindowTest : public ShellWindowTest {};

TEST_F(MainWindowTest, CreationMakesTheImagesAndStartsTheThread) {
    EXPECT_EQ(TestProgram().mainWindow, window_);
    // Each of the program's windows finds the program it was made for in its user data.
    for (HWND w : {window_, TestProgram().strayWindows[kStrayAntIndex],
                   TestProgram().strayWindows[kStrayHeartIndex]}) {
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(ProgramOf(w), &TestProgram());
    }
    ASSERT_NE(TestProgram().app.get(), nullptr);
    EXPECT_EQ(TestProgram().app->GetHWnd(), window_);
    EXPECT_EQ(shared.running.load(), 1);
    ASSERT_NE(SimulationThreadHandle(TestProgram()), nullptr);
    EXPECT_EQ(WaitForSingleObject(SimulationThreadHandle(TestProgram()), 0),
              static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_NE(world.frame, nullptr);
    EXPECT_EQ(world.frame->GetWidth(), 300);
    EXPECT_EQ(world.frame->GetHeight(), 360);
    EXPECT_EQ(world.frame->GetBitCount(), 32);
    ASSERT_NE(world.fieldCanvas, nullptr);
    EXPECT_EQ(world.fieldCanvas->GetBitCount(), 32);
    ASSERT_NE(world.magnifier, nullptr);
    EXPECT_EQ(world.magnifier->GetWidth(), 300);
    EXPECT_EQ(world.magnifier->GetHeight(), 720);
    EXPECT_NE(world.field, nullptr);
    EXPECT_NE(world.antSprites, nullptr);
    EXPECT_NE(world.ball, nullptr);
    EXPECT_NE(world.heart, nullptr);
    // The magnifier is laid into the frame where its mask is not white, and only there.
    const auto laid = [](int x, int y) {
        return pixeltest::Pixel(world.magnifier, x, kFrameHeight + y) != kMaskWhite;
    };
    EXPECT_GT(pixeltest::CountWhere(0, 0, kFrameWidth, kFrameHeight, laid, 3), 1000);
    EXPECT_EQ(pixeltest::CountWhere(
                  0, 0, kFrameWidth, kFrameHeight,
                  [&laid](int x, int y) {
                      return laid(x, y) && pixeltest::Pixel(world.frame, x, y) !=
                                               pixeltest::Pixel(world.magnifier, x, y);
                  },
                  3),
              0);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    EXPECT_NE(TestProgram().state.stickCursor, nullptr);
    EXPECT_NE(TestProgram().state.binocularsCursor, nullptr);
    EXPECT_NE(TestProgram().state.stickCursor, TestProgram().state.binocularsCursor);
}

TEST_F(MainWindowTest, MissingSettingsFileGivesTheDefaultsAndCreatesNoFile) {
    EXPECT_EQ(ChoiceMarks(), "x..xx.");
    EXPECT_EQ(shared.hideTrails.load(), 0);
    EXPECT_EQ(TestProgram().state.topmost, 0);
    EXPECT_EQ(shared.frameWaitMs.load(), 80);
    EXPECT_EQ(BackgroundName(), "Resource");
    EXPECT_EQ(std::string(TestProgram().settings.Path()), IniPath());
    EXPECT_TRUE(TestProgram().settings.FullPath());
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // The start values of the shared flags.
    EXPECT_EQ(shared.followBall.load(), 1);
    EXPECT_EQ(TestProgram().state.pointer.overRim, 1);
    EXPECT_EQ(TestProgram().state.windowShown, 1);
    EXPECT_EQ(shared.exitRequested.load(), 0);
    EXPECT_EQ(shared.splashDone.load(), 0);
    EXPECT_EQ(shared.backgroundChanged.load(), 0);
    EXPECT_EQ(TestProgram().state.pointer.panDragging, 0);
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
    EXPECT_EQ(shared.hideTrails.load(), 2);  // kept as read
    EXPECT_EQ(ChoiceMarks(), ".xx..x");
    EXPECT_EQ(TestProgram().state.topmost, 1);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(MainShows(), 0);
    // Shown at the splash's end, still in front of all others.
    EXPECT_EQ(SendMessageA(window_, WM_SPLASHEND, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(shared.frameWaitMs.load(), 0);
    EXPECT_EQ(BackgroundName(), "C:\\pictures\\garden.bmp");
    // Nothing is written back at start: "PFlag" keeps its 2.
    EXPECT_EQ(ReadIni("Status", "PFlag"), "2");
}

// Each pair of choices: the chosen item checked, the other not, the shared value set and the one
// key written; the item already checked writes its value again.
TEST_F(MainWindowTest, ChoiceCommandsCheckSetAndWriteTheirKeyOnly) {
    const struct {
        UINT chosen, other;
        const SharedInt& value;
        int32_t expected;
        const char* key;
        const char* written;
    } choices[] = {
        {IDM_TRAIL_HIDE, IDM_TRAIL_SHOW, shared.hideTrails, 1, "PFlag", "1"},
        {IDM_TRAIL_SHOW, IDM_TRAIL_HIDE, shared.hideTrails, 0, "PFlag", "0"},
        {IDM_WAIT_OFF, IDM_WAIT_ON, shared.frameWaitMs, 0, "Wait ON", "0"},
        {IDM_WAIT_ON, IDM_WAIT_OFF, shared.frameWaitMs, static_cast<int32_t>(kFrameWaitMs),
         "Wait ON", "1"},
    };
    for (const auto& c : choices) {
        SCOPED_TRACE(c.chosen);
        WriteIni("Status", c.key, "7");
        EXPECT_EQ(Command(c.chosen), 0);
        EXPECT_TRUE(Checked(c.chosen));
        EXPECT_FALSE(Checked(c.other));
        EXPECT_EQ(c.value.load(), c.expected);
        EXPECT_EQ(ReadIni("Status", c.key), c.written);
    }
    EXPECT_EQ(ReadIni("Status", "Window Z_Order"), "<none>");
    EXPECT_EQ(ReadIni("BackBitmapTexture", "FileName"), "<none>");
}

TEST_F(MainWindowTest, ZOrderCommandsShowTheWindowButKeepWindowShown) {
    TestProgram().state.windowShown = 0;
    EXPECT_EQ(Command(IDM_TOPMOST), 0);
    EXPECT_EQ(ChoiceMarks(), "x.x.x.");
    EXPECT_EQ(TestProgram().state.topmost, 1);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(TestProgram().state.windowShown, 0);
    EXPECT_EQ(ReadIni("Status", "Window Z_Order"), "1");
    ShowWindow(window_, SW_HIDE);
    EXPECT_EQ(Command(IDM_NORMAL), 0);
    EXPECT_EQ(ChoiceMarks(), "x..xx.");
    EXPECT_EQ(TestProgram().state.topmost, 0);
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(ReadIni("Status", "Window Z_Order"), "0");
}

TEST_F(MainWindowTest, BackgroundResetRequestsTheBuiltInPictureAndWritesAtOnce) {
    shared.SetBackgroundFileName("C:\\old.bmp");
    shared.backgroundChanged = 0;
    Command(IDM_BACKGROUND_RESET);
    EXPECT_EQ(shared.backgroundChanged.load(), 1);
    EXPECT_EQ(BackgroundName(), "Resource");
    EXPECT_EQ(ReadIni("BackBitmapTexture", "FileName"), "Resource");
}

TEST_F(MainWindowTest, CentreShowsTheHiddenWindowCentredWithItsZOrder) {
    Command(IDM_TOPMOST);
    ShowWindow(window_, SW_HIDE);
    TestProgram().state.windowShown = 0;
    MoveTo(window_, 3, 4);
    Command(IDM_CENTER);
    EXPECT_TRUE(CentredOnTheScreen(window_, kFrameWidth, kFrameHeight));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(TestProgram().state.windowShown, 1);
}

// A desktop of two monitors of different sizes, the larger right of the primary; a test may
// unplug the second one before it tells the window so.
std::vector<ScreenRect> g_fakeMonitors;
std::vector<ScreenRect> FakeMonitors() {
    return g_fakeMonitors;
}

class TwoMonitorTest : public ShellWindowTest {
  protected:
    void PrepareDirectory() override {
        g_fakeMonitors = {{0, 0, 1024, 768}, {1024, 0, 2304, 800}};
        TestProgram().screen = std::make_unique<ScreenInfo>(&FakeMonitors);
    }
    void MoveGlass(int x, int y) { MoveTo(window_, x, y); }
};

TEST_F(TwoMonitorTest, StartsOnThePrimaryAndCentresOnTheMonitorItIsOn) {
    EXPECT_EQ(Corner(window_), (ScreenPoint{362, 204}));
    const struct {
        ScreenPoint from;
        ScreenPoint centred;
    } cases[] = {
        {{1500, 100}, {1024 + 490, 220}},  // on the second monitor
        {{900, 100}, {1024 + 490, 220}},   // more of it on the second
        {{700, 300}, {362, 204}},          // more of it on the primary
        {{2500, 900}, {1024 + 490, 220}},  // off both: the nearest
    };
    for (const auto& c : cases) {
        MoveGlass(c.from.x, c.from.y);
        Command(IDM_CENTER);
        EXPECT_EQ(Corner(window_), c.centred) << c.from.x << "," << c.from.y;
    }
    // The splash shows centred on the glass, where the glass is to show.
    HWND splash = startup_->ShowSplash();
    EXPECT_EQ(Corner(splash), (ScreenPoint{1024 + 490 + 100, 220 + 130}));
    SendMessageA(window_, WM_SPLASHEND, 0, 0);
}

// The simulation thread of these tests is idle, so the test may read the thread's copy.
TEST_F(TwoMonitorTest, TheStrayAntStartsOnTheDesktopHandedToTheSimulation) {
    const DesktopArea desktop(g_fakeMonitors, kAntCell);
    const StrayAnt& ant = *world.strayRecord;
    EXPECT_TRUE(desktop.Covers({ant.x, ant.y, ant.x + kAntCell, ant.y + kAntCell}));
    EXPECT_EQ(shared.desktop.Current().WorkAreas(), g_fakeMonitors);
}

TEST_F(TwoMonitorTest, AGlassLeftOnAnUnpluggedMonitorComesBackOnlyWhenTheDisplayChanges) {
    MoveGlass(1500, 100);
    g_fakeMonitors.pop_back();
    // A work area that changed moves nothing but what the stray ant walks.
    SendMessageA(window_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ(Corner(window_), (ScreenPoint{1500, 100}));
    EXPECT_EQ(shared.desktop.Current().WorkAreas(), g_fakeMonitors);
    SendMessageA(window_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_EQ(Corner(window_), (ScreenPoint{1024 - 300, 100}));
    // On a monitor, even partly, it stays where it is.
    MoveGlass(-100, 600);
    SendMessageA(window_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_EQ(Corner(window_), (ScreenPoint{-100, 600}));
}

TEST_F(MainWindowTest, UnknownCommandChangesNothing) {
    EXPECT_EQ(Command(40012), 0);
    EXPECT_EQ(Command(40007), 0);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(shared.running.load(), 1);
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
    shared.backgroundChanged = 0;
    SendMessageA(window_, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({"C:\\a\\first.bmp", "C:\\b\\second.bmp"})), 0);
    EXPECT_EQ(shared.backgroundChanged.load(), 1);
    EXPECT_EQ(BackgroundName(), "C:\\a\\first.bmp");
    // The simulation thread writes the name only after it has loaded the picture.
    EXPECT_FALSE(FileExists(IniPath()));
}

TEST_F(MainWindowTest, DropOfALongNameIsCutToTheBuffer) {
    const std::string longName = "C:\\" + std::string(400, 'n') + ".bmp";
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({longName})), 0);
    EXPECT_EQ(BackgroundName(), longName.substr(0, kPathBytes - 1));
}

TEST_F(MainWindowTest, FocusSetsAndClearsHasFocusAndAHiddenGlassNeverTakesTheKeys) {
    ShowWindow(window_, SW_SHOWNA);
    shared.hasFocus = 0;
    SendMessageA(window_, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(shared.hasFocus.load(), kFocusKeysLive);
    SendMessageA(window_, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(shared.hasFocus.load(), kFocusNone);
    // Hidden with the focus (a double click, the tray), the glass lets go of the keys, and a focus
    // that comes to it while hidden gives none.
    SendMessageA(window_, WM_SETFOCUS, 0, 0);
    ShowWindow(window_, SW_HIDE);
    EXPECT_EQ(shared.hasFocus.load(), kFocusNone);
    SendMessageA(window_, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(shared.hasFocus.load(), kFocusNone);
    SendMessageA(window_, WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(shared.hasFocus.load(), kFocusNone);
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
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(window_);
    ASSERT_EQ(GetFocus(), window_);
    SendMessageA(window_, WM_SETFOCUS, 0, 0);
    ASSERT_EQ(shared.hasFocus.load(), 1);
    const KeyStateFunction saved = QueryKeyState;
    QueryKeyState = &EscapeStillDown;
    escapeQueries = 0;
    SendMessageA(window_, WM_ENTERMENULOOP, TRUE, 0);
    EXPECT_EQ(shared.hasFocus.load(), 0);
    EXPECT_EQ(PollKeyboard(shared), kKeyNothing);  // the Escape that closes the menu
    EXPECT_EQ(escapeQueries, 0);
    // Closing the menu gives the focus back at once, its Escape counting only once released.
    SendMessageA(window_, WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(shared.hasFocus.load(), kFocusUntilReleased);
    EXPECT_EQ(escapeQueries, 1);
    EXPECT_EQ(PollKeyboard(shared), kKeyNothing);  // still down
    EXPECT_EQ(PollKeyboard(shared), kKeyNothing);  // released
    EXPECT_EQ(shared.hasFocus.load(), kFocusKeysLive);
    EXPECT_EQ(PollKeyboard(shared), kKeyNothing);
    QueryKeyState = saved;
}

TEST_F(MainWindowTest, AMenuClosedWhileTheFocusIsElsewhereLeavesItThere) {
    SendMessageA(window_, WM_ENTERMENULOOP, TRUE, 0);
    SetFocus(nullptr);
    SendMessageA(window_, WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(shared.hasFocus.load(), 0);
}

TEST_F(MainWindowTest, PaintCopiesTheFrameAndEraseDoesNothing) {
    // A pattern in the frame, painted into a memory DC, must come out pixel for pixel.
    pixeltest::Fill(world.frame, [](int x, int y) {
        return static_cast<uint32_t>((x * 3) << 16 | (y * 5 & 0xFF) << 8 | 7);
    });
    DIBImage target;
    target.ChangeBitCount(32);
    target.SetWidth(kFrameWidth);
    target.SetHeight(kFrameHeight);
    PaintFrame(target.GetMemoryDC()->GetHDC(), world, shared.Scale());
    GdiFlush();
    EXPECT_EQ(pixeltest::CountWhere(
                  0, 0, kFrameWidth, kFrameHeight,
                  [&target](int x, int y) {
                      return pixeltest::Pixel(&target, x, y) != pixeltest::Pixel(world.frame, x, y);
                  },
                  7),
              0);
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
    shared.strayAntActive = 1;
    ShowWindow(TestProgram().strayWindows[kStrayAntIndex], SW_SHOWNOACTIVATE);
    const UniqueThread thread = SimulationThreadCopy();
    EXPECT_EQ(Command(IDM_EXIT), 0);
    EXPECT_EQ(shared.exitRequested.load(), 1);
    EXPECT_EQ(shared.running.load(), 0);
    EXPECT_EQ(WaitForSingleObject(thread.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(StrayWindowsGone());
    EXPECT_EQ(TestProgram().state.menu.get(), nullptr);
    EXPECT_EQ(SimulationThreadHandle(TestProgram()), nullptr);
    EXPECT_EQ(TestProgram().trayIcon.get(), nullptr);
    // The thread had ended: the shell's own objects went at WM_DESTROY.
    EXPECT_EQ(TestProgram().app.get(), nullptr);
    EXPECT_EQ(TestProgram().screen.get(), nullptr);
    // The images wait for the window side's lease.
    EXPECT_NE(world.frame, nullptr);
    EXPECT_NE(world.antSprites, nullptr);
    EXPECT_NE(world.strayRecord, nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
    world.ReleaseLease();
    EXPECT_EQ(world.frame, nullptr);
    EXPECT_EQ(world.antSprites, nullptr);
    EXPECT_EQ(world.heart, nullptr);
    EXPECT_EQ(world.strayRecord, nullptr);
    world.ResetLease();  // the fixture lets go once more
    world.ReleaseLease();
}

// A close request runs the same sequence, and nothing may run it twice: a second Exit after the
// first finds no window.
TEST_F(MainWindowTest, CloseRequestRunsTheExitSequenceOnce) {
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(shared.exitRequested.load(), 1);
    EXPECT_EQ(shared.running.load(), 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(StrayWindowsGone());
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
    world.ReleaseLease();
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
    const UniqueThread thread = SimulationThreadCopy();
    Command(IDM_EXIT);
    // The bounded wait ran out with the thread still inside its pause.
    EXPECT_EQ(WaitForSingleObject(thread.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(PumpUntilQuit(1000));
    // The thread lives on: screen and window objects stay for it, and so do the images after
    // the window side has let go.
    EXPECT_NE(TestProgram().screen.get(), nullptr);
    EXPECT_NE(TestProgram().app.get(), nullptr);
    world.ReleaseLease();
    EXPECT_NE(world.frame, nullptr);
    EXPECT_NE(world.strayRecord, nullptr);
    EXPECT_FALSE(FinishShell(TestProgram(), 50));
    EXPECT_NE(TestProgram().screen.get(), nullptr);
    g_hold = 0;
    EXPECT_TRUE(FinishShell(TestProgram(), 2000));
    EXPECT_EQ(TestProgram().screen.get(), nullptr);
    EXPECT_EQ(TestProgram().app.get(), nullptr);
    EXPECT_EQ(world.frame, nullptr);
    EXPECT_EQ(world.strayRecord, nullptr);
    world.ResetLease();
    world.ReleaseLease();  // the fixture's release and the stand-in's are spent
}

// A thread that ends by itself (as on Escape) and asks for Exit with a synchronous send.
std::atomic<int> g_endNow{0};
DWORD WINAPI SelfEndingSimulation(LPVOID) {
    while (g_endNow == 0 && shared.running != 0) {
        Sleep(2);
    }
    if (shared.exitRequested == 0) {
        SendMessageA(TestProgram().mainWindow, WM_COMMAND, IDM_EXIT, 0);
    }
    world.ReleaseLease();
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
    EXPECT_EQ(shared.exitRequested.load(), 1);
    EXPECT_TRUE(StrayWindowsGone());
    // The sender was released and had ended by WM_DESTROY, so nothing had to be kept for it.
    EXPECT_EQ(TestProgram().screen.get(), nullptr);
    EXPECT_EQ(TestProgram().app.get(), nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
}

}  // namespace
}  // namespace shelltest
