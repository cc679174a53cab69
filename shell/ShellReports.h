// The shell's side of the simulation run's reports: a replaced background is saved to the
// settings, and a run that ended by itself ends the program through the main window's Exit.
#pragma once

#include <windows.h>

#include "simulation/RunReports.h"

class Settings;

class ShellReports final : public RunReports {
  public:
    // mainWindow: where the program's main window will be, read at the run's end; settings: the
    // program's settings file, loaded before the run starts. Both the Program's.
    ShellReports(const HWND& mainWindow, const Settings& settings)
        : mainWindow_(mainWindow), settings_(settings) {}

    void BackgroundReplaced(const char* name) override;
    // Asks the main window for Exit (the exit sequence's RequestExitFromRun).
    void RunEnded() override;

  private:
    const HWND& mainWindow_;
    const Settings& settings_;
};
