// How the program ends, in the one order in which neither thread touches what the other has
// freed. The whole order is written down, and done, in ExitSequence.cpp.
#pragma once

#include <windows.h>

#include "base/Geometry.h"
#include "platform/UniqueHandle.h"

class RunReports;

// The procedure the main window starts as its simulation thread (SimulationThreadProc unless a
// test puts a stand-in here before creating the window).
extern LPTHREAD_START_ROUTINE SimulationEntry;

// For WM_CREATE: the next Exit is a fresh one; the simulation thread starts for mainWindow, its
// run reported to reports (kept alive by the caller for the thread's life).
void StartSimulationThread(HWND mainWindow, RunReports& reports);
// The running simulation thread, or null once WM_DESTROY has let go of it.
HANDLE SimulationThreadHandle();

// From the simulation thread, when its run ended by itself: asks the window thread for Exit.
void RequestExitFromRun(HWND mainWindow);

// The Exit command: stops the simulation thread, waits for it within kExitWaitMs while still
// answering the calls it makes, and destroys the windows. A second call does nothing.
void RunExitSequence(HWND mainWindow);
// True once the Exit command has begun.
bool ExitSequenceStarted();

// WM_DESTROY: what the main window owned goes, and the message loop is told to end.
void CloseMainWindow(HWND mainWindow);

// After the message loop: waits up to waitMs for the simulation thread, then deletes what
// WM_DESTROY had to keep. Returns false when the thread is still running (then nothing the
// thread can read has been freed).
bool FinishShell(DWORD waitMs);

// WinMain's end, after the message loop: the window side lets go of the world and waits for the
// thread; returns exitCode, or ends the process at once when the thread never ends.
int EndProgram(int exitCode, UniqueKernelHandle& instanceMutex);
