// Where the pointer was and what it is doing: the rim, a pan, the last recorded position and the
// clock of a throw. Window thread only.
#pragma once

#include <windows.h>

#include <cstdint>

extern int PointerOverRim;    // the last pointer position was on the rim
extern int PanDragging;       // a pan is under way
extern int16_t LastPointerX;  // client coordinates of the last recorded pointer position
extern int16_t LastPointerY;
extern DWORD GrabTick;  // tick of the first move after the ball was grabbed

// The millisecond clock of the throw (GetTickCount unless a test sets its own).
extern DWORD(WINAPI* ShellTickCount)();
