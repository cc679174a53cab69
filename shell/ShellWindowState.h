// What the window thread keeps about its own windows and the pointer: the menu, the cursors, the
// splash, the rim, the visibility flags and the pointer's state. Only the window thread reads or
// writes these; the simulation thread's share of the state is in simulation/SharedState.h.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/Geometry.h"
#include "platform/UniqueHandle.h"

constexpr char kMainClassName[] = "「Kirelo」";  // also the name of the instance mutex
constexpr char kSplashClassName[] = "スプラッシュウインドウ";
constexpr char kStrayClassName[] = "はぐれありさん";

// Where the pointer was and what it is doing: the rim, a pan, the last recorded position and the
// clock of a throw.
struct PointerState {
    int overRim = 1;      // the last pointer position was on the rim
    int panDragging = 0;  // a pan is under way
    int16_t lastX = 0;    // client coordinates of the last recorded pointer position
    int16_t lastY = 0;
    DWORD grabTick = 0;  // tick of the first move after the ball was grabbed
    // The throw's millisecond clock: GetTickCount, or a test's own so that a throw's speed is
    // tested without waiting.
    DWORD(WINAPI* tickCount)() = &GetTickCount;
};

struct MainWindowState {
    UniqueMenu menu;                     // loaded by the settings load, destroyed at WM_DESTROY
    HCURSOR stickCursor = nullptr;       // not owned: a resource of the module
    HCURSOR binocularsCursor = nullptr;  // not owned
    int windowShown = 1;                 // the window is meant to be visible
    int topmost = 0;                     // the window stays above all others
    int32_t sizeChoice = 0;  // the size menu's choice: 0 automatic (the monitor's DPI), 1..3 fixed
    HRGN rimRegion = nullptr;        // not owned: WinMain's, deleted after the message loop
    HWND splashWindow = nullptr;     // not owned: destroyed on WM_SPLASHEND
    UINT taskbarCreatedMessage = 0;  // sent to top-level windows when the taskbar (re)starts
    bool trayMenuOnRelease = false;  // the tray's right press came held: the menu opens on release
    PointerState pointer;
};
