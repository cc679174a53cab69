// The program's windows as the simulation thread knows them: the main window it posts its frame
// notices and requests to, and the stray ant's two windows, which only the window thread touches.
#pragma once

#include <windows.h>

// The walking ant is one colour-keyed window that is moved and repainted with the cell of each
// frame; the heart it turns into is a second, heart-shaped window.
constexpr int kStrayWindowCount = 2;
constexpr int kStrayAntIndex = 0;
constexpr int kStrayHeartIndex = 1;
constexpr int kStrayAntCells = 16;  // sprite cells of the walking ant: heading * 2 + frame

extern HWND MainWindow;                       // not owned
extern HWND StrayWindows[kStrayWindowCount];  // not owned: destroyed by the Exit command
