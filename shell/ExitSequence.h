// How the program ends, in the one order in which neither thread touches what the other has
// freed. The whole order is written down, and done, in ExitSequence.cpp.
#pragma once

#include <windows.h>

#include "base/Geometry.h"
#include "platform/UniqueHandle.h"

struct Program;

// The exit sequence's record of the simulation thread; window thread only.
struct ExitRecord {
    UniqueKernelHandle thread;    // kept until FinishShell has waited for it
    bool threadReleased = false;  // WM_DESTROY has let go of it (SimulationThreadHandle is null)
    bool objectsKept = false;     // the screen and the app window wait for FinishShell
    bool exiting = false;         // the exit sequence has begun
};

// For WM_CREATE (program.mainWindow is set): the next Exit is a fresh one; the program's
// simulation entry starts with the program's links to its world, shared state, main window and
// reports.
void StartSimulationThread(Program& program);
// The running simulation thread, or null once WM_DESTROY has let go of it.
HANDLE SimulationThreadHandle(const Program& program);

// From the simulation thread, when its run ended by itself: asks the window thread for Exit.
void RequestExitFromRun(HWND mainWindow);

// The Exit command: stops the simulation thread, waits for it within kExitWaitMs while still
// answering the calls it makes, and destroys the windows. A second call does nothing.
void RunExitSequence(Program& program, HWND mainWindow);
// True once the Exit command has begun.
bool ExitSequenceStarted(const Program& program);

// WM_DESTROY: what the main window owned goes, and the message loop is told to end.
void CloseMainWindow(Program& program, HWND mainWindow);

// After the message loop: waits up to waitMs for the simulation thread, then deletes what
// WM_DESTROY had to keep. Returns false when the thread is still running (then nothing the
// thread can read has been freed).
bool FinishShell(Program& program, DWORD waitMs);

// WinMain's end, after the message loop: the window side lets go of the world and waits for the
// thread; returns exitCode, or ends the process at once when the thread never ends.
int EndProgram(Program& program, int exitCode, UniqueKernelHandle& instanceMutex);
