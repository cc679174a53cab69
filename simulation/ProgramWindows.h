// The program's windows as the simulation thread knows them: the main window it paints and sends
// its requests to, and the stray ant's seventeen windows, which only the window thread touches.
#pragma once

#include <windows.h>

#include "colony/SharedWorld.h"

constexpr int kStrayWindowCount = 17;  // sixteen ant cells, then the heart
constexpr int kStrayHeartIndex = 16;

extern HWND MainWindow;                       // not owned
extern HWND StrayWindows[kStrayWindowCount];  // not owned: destroyed by the Exit command

// 1 once WinMain has created the stray-ant record, its windows and their shapes; the simulation
// thread lets the stray ant out only after that.
extern SharedInt ShellReady;
