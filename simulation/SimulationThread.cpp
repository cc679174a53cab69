// The simulation thread: one run from start-up to teardown.
#include "simulation/SimulationThread.h"

#include "simulation/ProgramWindows.h"
#include "simulation/SimulationRun.h"

DWORD WINAPI SimulationThreadProc(LPVOID reports) {
    SimulationRun run(MainWindow, *static_cast<RunReports*>(reports));
    return run.Execute();
}
