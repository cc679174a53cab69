// The program's windows as the simulation thread knows them: the main window it posts its frame
// notices and requests to, and how many windows the stray ant has (the shell owns them, and only
// the window thread touches them).
#pragma once

#include <windows.h>

// The walking ant is one colour-keyed window that is moved and repainted with the cell of each
// frame; the heart it turns into is a second, heart-shaped window.
constexpr int kStrayWindowCount = 2;
constexpr int kStrayAntIndex = 0;
constexpr int kStrayHeartIndex = 1;
constexpr int kStrayAntCells = 16;  // sprite cells of the walking ant: heading * 2 + frame

// Not owned: the shell's main window, set by the shell as it is created. A bridge until the
// simulation thread's start parameter carries the window.
extern HWND MainWindow;
