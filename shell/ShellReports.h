// The shell's side of the simulation run's reports: a replaced background is saved to the
// settings, and a run that ended by itself ends the program through the main window's Exit.
#pragma once

#include "simulation/RunReports.h"

class ShellReports final : public RunReports {
  public:
    void BackgroundReplaced(const char* name) override;
    // Asks the main window for Exit (the exit sequence's RequestExitFromRun).
    void RunEnded() override;
};
