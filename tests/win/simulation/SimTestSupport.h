// What the simulation tests under Wine share: the shared images made as the shell makes them, a
// plain window standing in for the main window that records what the simulation sends it, the
// stray ant's two windows, a message pump that waits for the thread, BMP files and a
// settings file in the temporary directory.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "imaging/DIBImage.h"
#include "tests/common/PixelCount.h"
#include "tests/native/base/BmpWriter.h"
#include "resources/ResourceIds.h"
#include "simulation/FrameHandOff.h"
#include "simulation/Keyboard.h"
#include "simulation/ProgramWindows.h"
#include "simulation/RunReports.h"
#include "simulation/StrayAntMotion.h"
#include "simulation/SharedState.h"
#include "platform/WindowMessages.h"
#include "simulation/World.h"
#include "simulation/SimulationRun.h"

namespace simtest {

// The test's stray windows, standing in for the shell's: plain windows the stray pose is applied
// to, so that what the simulation thread publishes can be seen on the screen.
inline HWND StrayWindows[kStrayWindowCount] = {};

using pixeltest::CountWhere;
using pixeltest::Differences;
using pixeltest::Pixel;

// The seven images as the main window's creation handler makes them.
inline void CreateShellImages() {
    ResetWorldLease();
    CreateWorldImages();
}

// What the test window saw, written on the test thread only (the simulation's sends are
// delivered there).
struct WindowLog {
    int paints = 0;
    int splashEnds = 0;
    int commands = 0;  // the simulation names no command: none may come
};

// What the run reported, as the shell would have heard it. The backgrounds are read on the thread
// that ran the frames, or after it ended.
class RecordingReports final : public RunReports {
  public:
    void BackgroundReplaced(const char* name) override { backgrounds.push_back(name); }
    void RunEnded() override { ++ended; }
    // The last background reported, or "" when none was.
    std::string LastBackground() const { return backgrounds.empty() ? "" : backgrounds.back(); }

    std::vector<std::string> backgrounds;
    std::atomic<int> ended{0};
};

inline RecordingReports& Reports() {
    static RecordingReports reports;
    return reports;
}

inline WindowLog& Log() {
    static WindowLog log;
    return log;
}

// What the window thread does with the stray ant's pose, in its simplest form: the window of the
// pose (the ant's for a walking pose, the heart's for the heart) shows at its place, the other is
// hidden.
inline void ApplyStrayPose() {
    AcknowledgeStrayPlacement();
    const StrayAntPose pose = Shared.strayShown.Read();
    const int shown = pose.kind == StrayAntPose::Walking ? kStrayAntIndex
                      : pose.kind == StrayAntPose::Heart ? kStrayHeartIndex
                                                         : -1;
    for (int i = 0; i < kStrayWindowCount; ++i) {
        if (StrayWindows[i] == nullptr) {
            continue;
        }
        if (i == shown) {
            const int side = i == kStrayHeartIndex ? 16 : 8;
            SetWindowPos(StrayWindows[i], HWND_TOPMOST, pose.x, pose.y, side, side,
                         SWP_SHOWWINDOW | SWP_NOACTIVATE);
        } else if (IsWindowVisible(StrayWindows[i])) {
            ShowWindow(StrayWindows[i], SW_HIDE);
        }
    }
}

inline LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_STRAYMOVED:
            ApplyStrayPose();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            EndPaint(window, &ps);
            ++Log().paints;
            return 0;
        }
        case WM_FRAMEREADY:
            // A frame shown, as the main window shows it (without the picture).
            AcknowledgeFrameNotice();
            ++Log().paints;
            return 0;
        case WM_SPLASHEND:
            // The window thread shows the magnifier when the splash ends.
            ++Log().splashEnds;
            ShowWindow(window, SW_SHOW);
            UpdateWindow(window);
            return 0;
        case WM_COMMAND:
            ++Log().commands;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

inline const char* TestClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &TestWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KireloSimulationTestWindow";
        RegisterClassA(&wc);
        registered = true;
    }
    return "KireloSimulationTestWindow";
}

inline HWND CreateTestWindow(DWORD style = WS_POPUP, int w = 300, int h = 360) {
    return CreateWindowExA(0, TestClass(), "test", style, 10, 10, w, h, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The stray ant's two hidden windows, owned by main.
inline void CreateStrayWindows(HWND main) {
    for (int i = 0; i < kStrayWindowCount; ++i) {
        StrayWindows[i] = CreateWindowExA(WS_EX_TOPMOST, TestClass(), nullptr, WS_POPUP, 0, 0, 8, 8,
                                          main, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
}

inline void DestroyStrayWindows() {
    for (HWND& window : StrayWindows) {
        if (window != nullptr) {
            DestroyWindow(window);
            window = nullptr;
        }
    }
}

inline int VisibleStrayWindows() {
    int visible = 0;
    for (HWND window : StrayWindows) {
        visible += window != nullptr && IsWindowVisible(window) ? 1 : 0;
    }
    return visible;
}

// Dispatches messages until the thread ends (true), stop() holds, or timeoutMs passes.
inline bool PumpUntil(HANDLE thread, DWORD timeoutMs, const std::function<bool()>& stop = {}) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (thread != nullptr && WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) {
            // What the thread posted before it ended is still delivered.
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            return true;
        }
        if (stop && stop()) {
            return false;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) {
            return false;
        }
        const DWORD left = timeoutMs - elapsed;
        MsgWaitForMultipleObjects(thread != nullptr ? 1 : 0, &thread, FALSE, left < 5 ? left : 5,
                                  QS_ALLINPUT);
    }
}

inline std::string TempPath(const char* name) {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// The colour of pixel (x, y) of the test pictures, as 0x00RRGGBB.
inline uint32_t TestColour(int x, int y) {
    return (static_cast<uint32_t>(x * 7 & 0xFF) << 16) |
           (static_cast<uint32_t>(y * 5 & 0xFF) << 8) | static_cast<uint32_t>((x + y) & 0xFF);
}

// Writes a 24-bit bottom-up BMP of TestColour pixels.
inline std::string WriteTestBmp(const char* name, int w, int h) {
    BmpSpec s;
    s.width = w;
    s.height = h;
    const int stride = (w * 3 + 3) & ~3;
    s.pixels.assign(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t c = TestColour(x, y);
            uint8_t* p = &s.pixels[static_cast<size_t>(h - 1 - y) * stride + x * 3];
            p[0] = static_cast<uint8_t>(c);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c >> 16);
        }
    }
    const std::string path = TempPath(name);
    const std::vector<uint8_t> file = WriteBmp(s);
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    return path;
}

// The run-control values as the settings load leaves them, with short waits.
inline void ResetRunState() {
    Shared.running = 1;
    Shared.exitRequested = 0;
    Shared.splashDone = 0;
    Shared.frameWaitMs = 0;
    Shared.hideTrails = 0;
    Shared.followBall = 1;
    Shared.viewX = 0;
    Shared.viewY = 0;
    Shared.ballSpeed = 0;
    Shared.ballAngle = 0;
    Shared.colony.ballFlying = 0;
    Shared.colony.ballGrabbed = 0;
    Shared.hasFocus = 0;
    Shared.backgroundChanged = 0;
    Shared.maskRebuildRequested = 0;
    Shared.shellReady = 0;
    Shared.strayShown.Publish({});
    AcknowledgeStrayPlacement();
    Shared.SetBackgroundFileName("Resource");
    Shared.timings = SimulationTimings{};
    QueryKeyState = &GetAsyncKeyState;
    Log() = WindowLog{};
    Reports().backgrounds.clear();
    Reports().ended = 0;
}

}  // namespace simtest
