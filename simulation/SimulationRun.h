// One run of the simulation thread: start-up, the frame loop, the ending and the teardown, in
// the order the program depends on. SimulationThreadProc runs one of these from start to end.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/Geometry.h"
#include "simulation/LensRenderer.h"
#include "simulation/RunReports.h"
#include "simulation/SharedState.h"
#include "simulation/StrayAnt.h"
#include "simulation/StrayAntMotion.h"

class World;

// What the simulation thread runs with, none of it owned: the world and the shared state, the
// main window it posts to and sends the splash's end to, and the reports that hear of a replaced
// background and of the run's own end. Whoever starts the thread keeps these alive for its life.
struct SimulationLinks {
    World& world;
    SharedState& shared;
    HWND mainWindow;
    RunReports& reports;
};

// Sleeps kFrameSleepMs, then sleeps out whatever is left of shared.frameWaitMs since frameStart.
void PaceFrame(const SharedState& shared, DWORD frameStart);

// Asks window to paint the lens square, the only part a new frame changes, from the newest frame;
// returns at once (a notice coalesced by shared.frameNotice).
void RepaintLens(SharedState& shared, HWND window);

class SimulationRun {
  public:
    explicit SimulationRun(const SimulationLinks& links);
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
    void PlaceGoal();

    World& world_;         // not owned
    SharedState& shared_;  // not owned
    HWND mainWindow_;      // not owned
    RunReports& reports_;  // not owned
    LensRenderer lens_;
    StrayAntMotion stray_;
    DWORD runStart_ = 0;
    StrayAntGate strayGate_{0, 0};
};

// The entry of the simulation thread, started by the main window's creation handler with its
// SimulationLinks: one run, from start-up to teardown; returns 0.
DWORD WINAPI SimulationThreadProc(LPVOID links);
