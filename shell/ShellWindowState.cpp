// The throw's clock.
#include "shell/ShellWindowState.h"

DWORD(WINAPI* ShellTickCount)() = &GetTickCount;
