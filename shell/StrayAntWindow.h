// The procedure of the seventeen little windows of the stray ant: sixteen ant-shaped ones, one
// per sprite cell, and the heart. They paint the ant or the heart; a click finds the ant.
#pragma once

#include <windows.h>

LRESULT CALLBACK StrayAntWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints what any of the seventeen windows shows for the stray ant's present state into dc.
void PaintStrayAnt(HDC dc);
