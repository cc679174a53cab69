// The stray ant's two little windows: the walking ant, one colour-keyed window that shows the
// cell of each frame, and the heart. The window thread places them from the published pose.
#pragma once

#include <windows.h>

struct Program;

// The windows are created with their Program as the creation parameter.
LRESULT CALLBACK StrayAntWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints what stray window `window` shows into dc: the ant's window the cell it was placed with
// last (key colour around the ant), the heart's window the heart; any other window nothing.
void PaintStrayWindow(const Program& program, HDC dc, HWND window);

// For WM_STRAYMOVED: shows the window of the newest published pose at its place, and hides the
// other; after Exit was chosen it does nothing.
void PlaceStrayWindows(const Program& program);
// Forgets what was shown and painted (a new set of windows).
void ResetStrayPlacement();
