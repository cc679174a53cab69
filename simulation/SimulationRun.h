// One run of the simulation thread: start-up, the frame loop, the ending and the teardown, in
// the order the program depends on. SimulationThreadProc runs one of these from start to end.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/Geometry.h"
#include "simulation/RunReports.h"
#include "simulation/SharedState.h"
#include "simulation/StrayAnt.h"

// Sleeps kFrameSleepMs, then sleeps out whatever is left of Shared.frameWaitMs since frameStart.
void PaceFrame(DWORD frameStart);

// Asks window to paint the lens square, the only part a new frame changes, from the newest frame;
// returns at once (see FrameNotice).
void RepaintLens(HWND window);

class SimulationRun {
  public:
    // Neither is owned; reports hears of a replaced background and of the run's own end.
    SimulationRun(HWND mainWindow, RunReports& reports);
    SimulationRun(const SimulationRun&) = delete;
    SimulationRun& operator=(const SimulationRun&) = delete;

    // The whole run; returns the thread's result, 0.
    DWORD Execute();

    // The pieces, in the order Execute calls them (tests drive some of them one by one).
    void StartUp();
    bool RunFrame();  // false when the loop is to be left
    void Ending();
    void Teardown();

    // The start-up load of the background named in the settings; a picture that cannot be
    // loaded or is smaller than kMinFieldSide is replaced by the built-in one, with a warning,
    // and the replacement is reported.
    void LoadStartupField();
    // The frame's reaction to a new background: reload (reported when it loaded), pull ants and
    // ball in, new goal, view inside the field. Nothing happens when no request waits.
    void ApplyBackgroundChange();

  private:
    void StepAnts();
    void MoveStrayAnt(DWORD now);
    bool DrawFrame();  // false when the frame was not drawn, as nobody would see it
    void ShowFrame();  // draws the frame and has it shown
    // The pause after the first frame, cut short by Exit; false when Exit came meanwhile.
    bool SplashPause();
    bool ExitChosen() const;

    HWND mainWindow_;      // not owned
    RunReports& reports_;  // not owned
    DWORD runStart_ = 0;
    StrayAntGate strayGate_{0, 0};
};

// The entry of the simulation thread, started by the main window's creation handler with the
// shell's RunReports: one run for MainWindow, from start-up to teardown; returns 0.
DWORD WINAPI SimulationThreadProc(LPVOID reports);
