// What the window thread keeps about its own windows: class names, sizes, the menu, the cursors,
// the splash, the rim and the visibility flags. Only the window thread reads or writes these.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/Geometry.h"
#include "imaging/UniqueHandle.h"

extern const char kMainClassName[];  // also the name of the instance mutex
extern const char kSplashClassName[];
extern const char kStrayClassName[];

extern UniqueMenu AppMenu;          // loaded by the settings load, destroyed at WM_DESTROY
extern HCURSOR StickCursor;         // not owned: a resource of the module
extern HCURSOR BinocularsCursor;    // not owned
extern int WindowShown;             // the window is meant to be visible
extern int Topmost;                 // the window stays above all others
extern HRGN RimRegion;              // not owned: WinMain's, deleted after the message loop
extern HWND SplashWindow;           // not owned: destroyed on WM_SPLASHEND
extern UINT TaskbarCreatedMessage;  // sent to top-level windows when the taskbar (re)starts
