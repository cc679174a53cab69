// Transitional: the definitions of the instances the shell still reaches by name.
#include "shell/ProgramInstances.h"

SharedState Shared;
World TheWorld;

// The window thread fills them at start-up.
HWND MainWindow = nullptr;
HWND StrayWindows[kStrayWindowCount] = {};
