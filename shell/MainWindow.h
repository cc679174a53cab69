// The procedure of the magnifier window: creation of the shared images and the simulation
// thread, the commands of the context menu, painting, dropped files, focus and the exit order.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the composed frame into dc (the whole 300 x 360 window).
void PaintFrame(HDC dc);

// The seven shared images, created empty (the magnifier already laid into the frame).
void CreateImages();
