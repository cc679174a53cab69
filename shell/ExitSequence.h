// How the program ends, in the one order in which neither thread touches what the other has
// freed. The whole order is written down in ExitSequence.cpp.
#pragma once

#include <windows.h>

constexpr DWORD kExitWaitMs = 500;  // how long Exit waits for the simulation thread

extern HANDLE SimulationThread;  // owned: closed at WM_DESTROY
// The procedure the main window starts as its simulation thread (SimulationThreadProc unless a
// test puts a stand-in here before creating the window).
extern LPTHREAD_START_ROUTINE SimulationEntry;

// The Exit command: stops the simulation thread, waits for it within kExitWaitMs while still
// answering the calls it makes, and destroys the windows. A second call does nothing.
void RunExitSequence(HWND mainWindow);
// For WM_CREATE: the next Exit is a fresh one.
void ArmExitSequence();
// True once the Exit command has begun.
bool ExitSequenceStarted();

// How a second handle of the thread is made (DuplicateHandle with SYNCHRONIZE unless a test
// makes it fail); true with copy set on success.
using ThreadHandleCopy = bool (*)(HANDLE thread, HANDLE* copy);
bool CopyThreadHandle(HANDLE thread, HANDLE* copy);

// For WM_CREATE: keeps a second handle of the thread for FinishShell. When no copy can be made
// it keeps SimulationThread itself, which WM_DESTROY then leaves open: a running thread is never
// taken for an ended one.
void KeepThreadForFinish(HANDLE thread, ThreadHandleCopy copy = &CopyThreadHandle);

// Called from WM_DESTROY: deletes TheScreen and TheAppWindow when the simulation thread has
// ended, and otherwise keeps them for FinishShell, because the thread may still read them.
// Closes SimulationThread (unless FinishShell keeps that very handle) and clears it.
void ReleaseShellObjects();

// After the message loop: waits up to waitMs for the simulation thread, then deletes what
// WM_DESTROY had to keep. Returns false when the thread is still running (then nothing the
// thread can read has been freed).
bool FinishShell(DWORD waitMs);
