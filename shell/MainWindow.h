// The procedure of the magnifier window: creation of the shared images and the simulation
// thread, the commands of the context menu, painting, dropped files, focus and the exit order.
#pragma once

#include <windows.h>

#include "base/PixelScale.h"

class SharedState;
class World;

// The window is created with its Program as the creation parameter (CreateWindowEx's last).
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the composed frame into dc (the whole window), enlarged to the scale on the screen.
void PaintFrame(HDC dc, World& world, PixelScale scale);
// Copies the lens square of the composed frame into dc, enlarged likewise: all a new frame
// changes.
void PaintLens(HDC dc, World& world, PixelScale scale);
// For WM_FRAMEREADY: the newest frame's lens, straight into the window's DC (no invalidation, so
// no WM_PAINT round), while the window shows; the next frame posts a new notice.
void ShowNewFrame(HWND window, SharedState& shared, World& world);
