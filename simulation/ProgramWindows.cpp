// Storage of the window handles that both threads know.
// The window thread fills them at start-up; the simulation thread only reads them.
#include "simulation/ProgramWindows.h"

HWND MainWindow = nullptr;
HWND StrayWindows[kStrayWindowCount] = {};
SharedInt ShellReady{0};
