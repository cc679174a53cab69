// The seventeen little windows of the stray ant: sixteen ant-shaped ones, one per sprite cell,
// and the heart. The window thread places them from the pose the simulation thread publishes.
#pragma once

#include <windows.h>

LRESULT CALLBACK StrayAntWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints what stray window index shows into dc: cell index of the ant sprites for 0..15, the
// heart for 16. Each window only ever shows its own picture, the one its shape was cut from.
void PaintStrayWindow(HDC dc, int index);

// For WM_STRAYMOVED: shows the window of the newest published pose at its place, and hides the
// one shown before; after Exit was chosen it does nothing.
void PlaceStrayWindows();
// Forgets which window was shown (a new set of windows).
void ResetStrayPlacement();
