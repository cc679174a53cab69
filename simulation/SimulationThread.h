// The entry of the simulation thread, started by the main window's creation handler with the
// shell's RunReports; it runs for MainWindow and owns the world until it returns 0.
#pragma once

#include <windows.h>

DWORD WINAPI SimulationThreadProc(LPVOID reports);
