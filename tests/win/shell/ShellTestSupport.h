// What the shell's Wine tests share: a fresh temporary working directory per test, the real main
// window with its shapes and the stray ant's two windows built as WinMain builds them, a
// simulation thread stand-in (or the real one), a message pump and readers of the settings file.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "base/ScreenPoint.h"
#include "platform/AppWindow.h"
#include "platform/ScreenInfo.h"
#include "platform/UniqueHandle.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "shell/ShellReports.h"
#include "shell/ShellStartup.h"
#include "shell/ExitSequence.h"
#include "shell/Program.h"
#include "shell/ShellWindowState.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"
#include "simulation/SimulationRun.h"
#include "tests/common/MessageBoxes.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TempDirectory.h"

namespace shelltest {

// The tests' one Program, as WinMain keeps its own: it outlives every test's windows and threads
// (the message-box sink a test installs holds on to its app window).
inline Program& TestProgram() {
    static Program program;
    return program;
}
// The test program's world and shared state, which the tests set up and read.
inline World& world = TestProgram().world;
inline SharedState& shared = TestProgram().shared;

// The stand-in thread: does nothing until Exit, then lets go of the world like the real one.
inline DWORD WINAPI IdleSimulation(LPVOID) {
    while (shared.running != 0) {
        Sleep(2);
    }
    world.ReleaseLease();
    return 0;
}

// Dispatches messages until stop() holds or timeoutMs passes; true when stop() held. A WM_QUIT
// stops the pump and is left in the queue for PumpUntilQuit.
inline bool PumpUntil(DWORD timeoutMs, const std::function<bool()>& stop = {}) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return stop && stop();
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (stop && stop()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Dispatches until WM_QUIT comes out of the queue: its exit code, or -1 when none came within
// timeoutMs.
inline int QuitCode(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return static_cast<int>(msg.wParam);
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (GetTickCount() - start >= timeoutMs) {
            return -1;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

inline bool PumpUntilQuit(DWORD timeoutMs) {
    return QuitCode(timeoutMs) >= 0;
}

// A copy of the window's shape; empty when the window has none.
inline UniqueRegion WindowRegion(HWND window) {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR) {
        region.reset();
    }
    return region;
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool Checked(UINT id) {
    return (GetMenuState(TestProgram().state.menu.get(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// The check marks of the three pairs of choices, in menu order (trails shown, hidden; topmost,
// normal; wait on, off): 'x' checked, '.' not.
inline std::string ChoiceMarks() {
    std::string marks;
    for (UINT id :
         {IDM_TRAIL_SHOW, IDM_TRAIL_HIDE, IDM_TOPMOST, IDM_NORMAL, IDM_WAIT_ON, IDM_WAIT_OFF}) {
        marks += Checked(id) ? 'x' : '.';
    }
    return marks;
}

inline std::string BackgroundName() {
    char name[kPathBytes] = {};
    shared.GetBackgroundFileName(name);
    return name;
}

// True when none of the stray ant's windows exists any more.
inline bool StrayWindowsGone() {
    for (HWND w : TestProgram().strayWindows) {
        if (IsWindow(w)) {
            return false;
        }
    }
    return true;
}

// A handle of the simulation thread of its own, to wait on after the program let go of its own.
inline UniqueThread SimulationThreadCopy() {
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), SimulationThreadHandle(TestProgram()), GetCurrentProcess(),
                    &thread, SYNCHRONIZE, FALSE, 0);
    return UniqueThread(thread);
}

// Moves a window's corner to (x, y) of the screen, its size, z-order and activation kept.
inline void MoveTo(HWND window, int x, int y) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

inline ScreenPoint Corner(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {static_cast<int32_t>(rect.left), static_cast<int32_t>(rect.top)};
}

// Whether the window's outer rectangle has its corner at (x, y) and the given size.
inline bool StandsAt(HWND window, int x, int y, int width, int height) {
    RECT rect{};
    return GetWindowRect(window, &rect) && rect.left == x && rect.top == y &&
           rect.right - rect.left == width && rect.bottom - rect.top == height;
}
inline bool StandsAt(HWND window, int x, int y, int side) {
    return StandsAt(window, x, y, side, side);
}
// Whether the window of the given size stands in the middle of the primary screen.
inline bool CentredOnTheScreen(HWND window, int width, int height) {
    return StandsAt(window, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height);
}

// Whether a stands above b in the z-order.
inline bool Above(HWND a, HWND b) {
    for (HWND next = GetWindow(a, GW_HWNDNEXT); next != nullptr;
         next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == b) {
            return true;
        }
    }
    return false;
}

// Whether a WM_NULL waits for the window (taken out of the queue).
inline bool NullPosted(HWND window) {
    MSG msg;
    return PeekMessageA(&msg, window, WM_NULL, WM_NULL, PM_REMOVE) != FALSE;
}

// A popup menu as seen from inside its own modal loop by CloseMenuOnceSeen, a thread timer that
// then closes it.
struct SeenMenu {
    int seen = 0;
    RECT rect{};
    HWND foreground = nullptr;
};
inline SeenMenu& LastMenu() {
    static SeenMenu menu;
    return menu;
}
inline void CALLBACK CloseMenuOnceSeen(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) {
        ++LastMenu().seen;
        GetWindowRect(menu, &LastMenu().rect);
        LastMenu().foreground = GetForegroundWindow();
        KillTimer(nullptr, id);
        EndMenu();
    }
}
// Arms the timer for the menu about to open.
inline void CloseTheNextMenu() {
    LastMenu() = SeenMenu{};
    SetTimer(nullptr, 0, 50, &CloseMenuOnceSeen);
}

inline LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)),
                      static_cast<WORD>(static_cast<int16_t>(y)));
}

// A client point of the rim (inside the outline, outside the lens), found in the real region.
inline POINT FindRimPoint(bool leftHalf) {
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = leftHalf ? 0 : 151; x < (leftHalf ? 151 : kFrameWidth); ++x) {
            if (TestProgram().state.rimRegion != nullptr &&
                PtInRegion(TestProgram().state.rimRegion, x, y)) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

// The main window as WinMain makes it, in a fresh working directory holding the given settings.
class ShellWindowTest : public ::testing::Test {
  protected:
    // Runs before the window is created, with the fresh directory current.
    virtual void PrepareDirectory() {}
    // The simulation thread of the test.
    virtual LPTHREAD_START_ROUTINE Simulation() { return &IdleSimulation; }

    void SetUp() override {
        PrepareDirectory();
        world.ResetLease();
        shared.shellReady = 0;
        shared.strayAntActive = 0;
        shared.happyCount = 0;
        shared.maskRebuildRequested = 0;
        TestProgram().simulationEntry = Simulation();
        if (!TestProgram().screen) {
            TestProgram().screen = std::make_unique<ScreenInfo>();
        }
        startup_ = new ShellStartup(TestProgram(), GetModuleHandleA(nullptr));
        MainShows() = 0;
        HHOOK shows =
            SetWindowsHookExA(WH_CALLWNDPROC, &CountMainShows, nullptr, GetCurrentThreadId());
        window_ = startup_->CreateMainWindow();
        startup_->CutMagnifierShape();
        startup_->CreateStrayAnt();
        startup_->CreateStrayWindows();
        startup_->ReleaseShapeImage();
        UnhookWindowsHookEx(shows);
        ASSERT_NE(window_, nullptr);
        shared.shellReady = 1;
    }

    void TearDown() override {
        if (IsWindow(window_)) {
            SendMessageA(window_, WM_COMMAND, IDM_EXIT, 0);
            EXPECT_TRUE(PumpUntilQuit(3000));
        }
        MSG stale;
        while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {
        }
        delete startup_;
        startup_ = nullptr;
        TestProgram().world.ReleaseLease();
        EXPECT_TRUE(FinishShell(TestProgram(), 5000));
        TestProgram().simulationEntry = &SimulationThreadProc;
        TestProgram().state.pointer.tickCount = &GetTickCount;
    }

    // Times the main window was shown while the start-up built the windows.
    static int& MainShows() {
        static int shows = 0;
        return shows;
    }
    static LRESULT CALLBACK CountMainShows(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
            (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) != 0 &&
            call->hwnd == TestProgram().mainWindow) {
            ++MainShows();
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    std::string IniPath() const { return dir_ + "\\kirelo.ini"; }
    std::string ReadIni(const char* section, const char* key) const {
        char value[kPathBytes] = {};
        GetPrivateProfileStringA(section, key, "<none>", value, kPathBytes, IniPath().c_str());
        return value;
    }
    void WriteIni(const char* section, const char* key, const char* value) const {
        WritePrivateProfileStringA(section, key, value, IniPath().c_str());
    }
    LRESULT Command(UINT id) { return SendMessageA(window_, WM_COMMAND, id, 0); }

    MessageRecorder recorder_;
    const TempDirectory directory_{L"kirelo-shell-", true};
    const std::string dir_ = directory_.path();
    ShellStartup* startup_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace shelltest
