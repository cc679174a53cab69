// Where the program's windows go on a desktop of several monitors: the glass and the splash on
// the monitor the glass is on (at start, the primary one), the glass brought back when its monitor
// went away, and the desktop handed to the simulation thread for the stray ant.
#pragma once

#include <windows.h>

#include "base/DesktopArea.h"
#include "base/ScreenPoint.h"

struct Program;

// Reads the monitors anew (the program's screen facts) and publishes them to the simulation
// thread; the desktop the stray ant walks from now on.
DesktopArea RefreshDesktop(Program& program);
// The glass's first corner: centred on the primary monitor.
ScreenPoint GlassStartCorner(const Program& program);
// The corner that centres the glass on the monitor it is (mostly) on.
ScreenPoint GlassCentredCorner(const Program& program, HWND glass);
// The splash's corner at the scale on the screen: centred where the glass shows.
ScreenPoint SplashCorner(const Program& program, HWND glass);
// Moves a glass that is on no monitor any more onto the nearest one; true if it moved.
bool BringGlassBack(const Program& program, HWND glass);
