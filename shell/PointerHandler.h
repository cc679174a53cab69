// The main window's pointer: dragging the window by its rim, hiding it with a double click there,
// the rim menu, grabbing and throwing the ball, panning the lens and the cursor.
#pragma once

#include <windows.h>

#include <cstdint>

// The window's rim drag (shell/RimDrag.h) lives with the window: attached at WM_CREATE, freed at
// WM_DESTROY.
void AttachRimDrag(HWND window);
void DetachRimDrag(HWND window);

// Client coordinates as the messages give them (signed 16-bit).
void OnPointerMove(HWND window, int16_t x, int16_t y);
// Returns true when the press was on the rim (a click, or a drag of the window once the pointer
// moves far enough; the message is done).
bool OnPointerPress(HWND window, int16_t x, int16_t y);
void OnPointerRelease(HWND window, int16_t x, int16_t y);
// WM_CAPTURECHANGED: a rim drag ends when another window takes the pointer.
void OnPointerCaptureLost(HWND window);
void OnPointerDoubleClick(HWND window);
// Right release, with the coordinates taken unsigned.
void OnPointerRightRelease(HWND window, uint16_t x, uint16_t y);
// The cursor for the present pointer state.
HCURSOR ChoosePointerCursor();

// What the rim menu is opened with, for a right release at client (x, y).
struct RimMenuPlacement {
    UINT flags;
    POINT point;       // screen coordinates
    TPMPARAMS params;  // rcExclude: the window rectangle
};
RimMenuPlacement PlaceRimMenu(HWND window, uint16_t x, uint16_t y);
