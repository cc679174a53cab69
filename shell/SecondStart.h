// A second start of kirelo.exe while one runs: the new process does not open a second glass, it
// asks the running one to come forward (shown if hidden, raised, with the focus) and ends.
#pragma once

#include <windows.h>

struct Program;

// In the new process: finds the running program's main window, lets that process take the
// foreground and posts it WM_SECONDSTART. Nothing happens while the running one has no main
// window yet (it is starting) or no longer (it is ending).
void BringRunningInstanceForward();

// In the running program, for WM_SECONDSTART. During the splash the magnifier comes by itself
// when the splash ends, and after Exit it never comes back: then nothing changes.
LRESULT OnSecondStart(Program& program, HWND window);
