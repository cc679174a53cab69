// The simulation thread: one run from start-up to teardown.
#include "simulation/SimulationThread.h"

#include "simulation/SimulationRun.h"

DWORD WINAPI SimulationThreadProc(LPVOID mainWindow) {
    SimulationRun run(static_cast<HWND>(mainWindow));
    return run.Execute();
}
