// Transitional: the program's one world, shared state and window handles, reached by name from
// the shell until WinMain owns them and hands them to the windows that need them. The simulation
// reaches none of these: it is given what it works on.
#pragma once

#include <windows.h>

#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"

// In static storage, so they exist before either thread runs and are never freed under one.
extern SharedState Shared;
extern World TheWorld;

extern HWND MainWindow;                       // not owned
extern HWND StrayWindows[kStrayWindowCount];  // not owned: destroyed by the Exit command
