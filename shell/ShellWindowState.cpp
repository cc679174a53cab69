// The window thread's one state object and the throw's clock.
#include "shell/ShellWindowState.h"

MainWindowState ShellState;
DWORD(WINAPI* ShellTickCount)() = &GetTickCount;
