// The main window's private messages: everything the simulation thread (and the notification
// area, and a second start of the program) asks of the window thread goes through one of these.
#pragma once

#include <windows.h>

#include "imaging/MessageHandOff.h"  // WM_SHOWBOX: a box shown on the thread's behalf

// Sent once by the simulation thread after the first frame and the splash pause: the window
// thread closes the splash and shows the magnifier.
#ifndef WM_SPLASHEND
#define WM_SPLASHEND (WM_USER + 100)
#endif
// Posted by the simulation thread when the stray ant's pose changed; at most one waits in the
// queue, and its handler places the windows from the newest pose.
#ifndef WM_STRAYMOVED
#define WM_STRAYMOVED (WM_USER + 101)
#endif
// Posted by the simulation thread after each frame it composed while the magnifier shows; at
// most one waits in the queue, and its handler paints the lens from the newest frame.
#ifndef WM_FRAMEREADY
#define WM_FRAMEREADY (WM_USER + 103)
#endif
// Posted by a second start of the program to the running one's main window (found by its class
// name): the user asked for the magnifier, so it comes forward.
#ifndef WM_SECONDSTART
#define WM_SECONDSTART (WM_USER + 104)
#endif
// Tray icon events, from the shell's notification area.
#ifndef WM_TRAYNOTIFY
#define WM_TRAYNOTIFY (WM_USER + 200)
#endif
