// Everything the running program owns, in one object: what the two threads share (SharedState),
// the simulation's world, and on the window thread's side its state, the program's windows, the
// app window, the screen facts, the tray icon, the help viewer, the settings file, the run's
// reports and the exit sequence's record of the simulation thread. The simulation thread is
// handed the world, the shared state, the main window and the reports (SimulationLinks) as it
// starts.
//
// WinMain owns the one Program of a run in static storage of its own, so that it outlives both
// threads (a simulation thread stuck in a box of its own is still running when the process ends
// through ExitProcess); nothing else names it. Window procedures find it through their window's
// user data, set at WM_NCCREATE from the creation parameter; everything else is handed it.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "platform/AppWindow.h"
#include "platform/ScreenInfo.h"
#include "platform/UniqueHandle.h"
#include "shell/ExitSequence.h"
#include "shell/HelpViewer.h"
#include "shell/RimDrag.h"
#include "shell/Settings.h"
#include "shell/ShellReports.h"
#include "shell/ShellWindowState.h"
#include "shell/StrayAntWindow.h"
#include "shell/TrayIcon.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/SimulationRun.h"
#include "simulation/World.h"

struct Program {
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // First made and last gone: everything below may refer to them.
    SharedState shared;  // what the two threads share, each field by its rule
    World world;         // the simulation's world, its images leased to both threads

    MainWindowState state;
    HWND mainWindow = nullptr;                  // not owned
    HWND strayWindows[kStrayWindowCount] = {};  // not owned: destroyed by the Exit command
    std::unique_ptr<AppWindow> app;             // from WM_CREATE to WM_DESTROY or FinishShell
    std::unique_ptr<ScreenInfo> screen;         // from start-up, before any window
    std::unique_ptr<TrayIcon> trayIcon;         // from WM_CREATE to WM_DESTROY
    std::unique_ptr<HelpViewer> helpViewer;     // from WM_CREATE to WM_DESTROY
    std::unique_ptr<RimDrag> rimDrag;           // the main window's, while it lives
    StrayPlacement strayPlacement;
    Settings settings;                           // the settings file, loaded at WM_CREATE
    ShellReports reports{mainWindow, settings};  // outlive the simulation thread
    // The procedure the main window starts as its simulation thread: SimulationThreadProc, or a
    // test's stand-in set before the window is created.
    LPTHREAD_START_ROUTINE simulationEntry;
    // What the simulation thread is started with: made as it starts, kept for its whole life.
    std::optional<SimulationLinks> simulationLinks;
    ExitRecord exit;
};

// The Program a window was created with (its creation parameter), kept in its user data from
// WM_NCCREATE on; null before.
Program* ProgramOf(HWND window);

// The body of the window procedure of a window created with its Program: keeps the Program at
// WM_NCCREATE and hands it to handler with every message from then on; the messages that come
// before (WM_GETMINMAXINFO) go to DefWindowProc.
using ProgramHandler = LRESULT (*)(Program&, HWND, UINT, WPARAM, LPARAM);
LRESULT DispatchToProgram(ProgramHandler handler, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam);
