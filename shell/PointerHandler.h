// The main window's pointer: dragging the window by its rim, hiding it with a double click there,
// the rim menu, grabbing and throwing the ball, panning the lens and the cursor.
#pragma once

#include <windows.h>

#include <cstdint>

struct Program;

// The window's rim drag (shell/RimDrag.h) lives with the window: attached at WM_CREATE, freed at
// WM_DESTROY.
void AttachRimDrag(Program& program);
void DetachRimDrag(Program& program);

// Client coordinates as the messages give them (signed 16-bit).
void OnPointerMove(Program& program, HWND window, int16_t x, int16_t y);
// Returns true when the press was on the rim (a click, or a drag of the window once the pointer
// moves far enough; the message is done).
bool OnPointerPress(Program& program, HWND window, int16_t x, int16_t y);
void OnPointerRelease(Program& program, int16_t x, int16_t y);
// WM_CAPTURECHANGED: a rim drag ends when another window takes the pointer.
void OnPointerCaptureLost(Program& program);
void OnPointerDoubleClick(Program& program, HWND window);
// Right release, with the coordinates taken unsigned.
void OnPointerRightRelease(Program& program, HWND window, uint16_t x, uint16_t y);
// The cursor for the present pointer state.
HCURSOR ChoosePointerCursor(const Program& program);

// What the rim menu is opened with, for a right release at client (x, y).
struct RimMenuPlacement {
    UINT flags;
    POINT point;       // screen coordinates
    TPMPARAMS params;  // rcExclude: the window rectangle
};
RimMenuPlacement PlaceRimMenu(const Program& program, HWND window, uint16_t x, uint16_t y);
