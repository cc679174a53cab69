// The entry of the simulation thread, started by the main window's creation handler with the
// main window handle; it owns the world until it returns 0.
#pragma once

#include <windows.h>

DWORD WINAPI SimulationThreadProc(LPVOID mainWindow);
