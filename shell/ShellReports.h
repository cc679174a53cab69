// The shell's side of the simulation run's reports: a replaced background is saved to the
// settings, and a run that ended by itself ends the program through the main window's Exit.
#pragma once

#include <windows.h>

#include "simulation/RunReports.h"

class ShellReports final : public RunReports {
  public:
    // mainWindow: where the program's main window will be (the Program's), read at the run's end.
    explicit ShellReports(const HWND& mainWindow) : mainWindow_(mainWindow) {}

    void BackgroundReplaced(const char* name) override;
    // Asks the main window for Exit (the exit sequence's RequestExitFromRun).
    void RunEnded() override;

  private:
    const HWND& mainWindow_;
};
