// The stray ant's two little windows: the walking ant, one colour-keyed window that shows the
// cell of each frame, and the heart. The window thread places them from the published pose.
#pragma once

#include <windows.h>

struct Program;

// What the window thread last did with the stray windows.
struct StrayPlacement {
    int shown = -1;           // the stray window on show, or -1
    int cell = -1;            // the cell the ant's window shows, or -1 before the first
    int movesSinceRaise = 0;  // moves of the ant's window since it was last raised
};

// The windows are created with their Program as the creation parameter.
LRESULT CALLBACK StrayAntWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints what stray window `window` shows into dc: the ant's window the cell it was placed with
// last (key colour around the ant), the heart's window the heart; any other window nothing.
void PaintStrayWindow(const Program& program, HDC dc, HWND window);

// For WM_STRAYMOVED: shows the window of the newest published pose at its place, and hides the
// other; after Exit was chosen it does nothing.
void PlaceStrayWindows(Program& program);
// Forgets what was shown and painted (a new set of windows).
void ResetStrayPlacement(Program& program);
