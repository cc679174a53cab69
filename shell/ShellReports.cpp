// What the shell does with the simulation run's reports.
#include "shell/ShellReports.h"

#include <windows.h>

#include "shell/ExitSequence.h"
#include "shell/Settings.h"

void ShellReports::BackgroundReplaced(const char* name) {
    settings_.SaveBackground(name);
}

void ShellReports::RunEnded() {
    RequestExitFromRun(mainWindow_);
}
