// The end of the program, and the one place its order is written down.
//
// How Kirelo ends, whoever asks (the menu or the tray menu's Exit, Alt+F4, Escape, the end of the
// game; the last two come from the simulation thread, which posts IDM_EXIT):
//  1. RunExitSequence (window thread): ExitRequested := 1, so the simulation thread stops at its
//     next look (top and end of a frame, every 20 ms of a pause, every 20 ms while it waits for a
//     box shown on its behalf); the magnifier and the stray ant's windows are hidden, so nothing
//     of the program stays visible; SimulationRunning := 0.
//  2. It waits for the thread, at most kExitWaitMs, and meanwhile answers the calls the thread
//     makes to its windows (the frame's paint), so a thread in the middle of a frame can finish
//     it: from a running game the wait ends as soon as the thread has.
//  3. Menus and drags in progress are ended; the stray ant's two windows and the main window are
//     destroyed (with any box they own). WM_DESTROY removes the
//     tray icon, frees the menu and the help, and deletes TheScreen and TheAppWindow unless the
//     thread is still alive (then FinishShell does it later).
//  4. The simulation thread, on leaving its loop, frees the colony, hearts and mask, and lets go
//     of its lease on the images and the stray-ant record.
//  5. After the message loop WinMain lets go of its lease too: whichever of the two threads lets
//     go last frees the images and the record. FinishShell then waits a little longer for a
//     thread that is still in a pause, and if it never ends the process ends without running
//     static destructors under it.
#include "shell/ExitSequence.h"

#include "imaging/AppWindow.h"
#include "imaging/ScreenInfo.h"
#include "imaging/UniqueHandle.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/SimulationThread.h"

HANDLE SimulationThread = nullptr;
LPTHREAD_START_ROUTINE SimulationEntry = &SimulationThreadProc;

namespace {
UniqueKernelHandle g_finishThread;  // a second handle of the simulation thread, or the first
bool g_objectsKept = false;         // TheScreen and TheAppWindow wait for FinishShell
bool g_exiting = false;             // the exit sequence has begun

bool ThreadEnded() {
    return !g_finishThread || WaitForSingleObject(g_finishThread.get(), 0) == WAIT_OBJECT_0;
}

void DeleteShellObjects() {
    delete TheScreen;
    TheScreen = nullptr;
    delete TheAppWindow;
    TheAppWindow = nullptr;
    g_objectsKept = false;
}

// Waits for the thread like WaitForSingleObject, but serves the messages other threads send to
// this one meanwhile: a simulation thread blocked in a call to the main window would otherwise
// hold the wait to its full bound. Posted messages stay queued for the message loop.
void WaitServingSentMessages(HANDLE thread, DWORD limitMs) {
    if (thread == nullptr) {
        return;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limitMs) {
            return;
        }
        const DWORD result =
            MsgWaitForMultipleObjects(1, &thread, FALSE, limitMs - elapsed, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) {
            return;  // the thread ended, or the wait failed or ran out
        }
        MSG msg;
        // Peeking delivers the pending sent messages; nothing posted is taken.
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
}  // namespace

void ArmExitSequence() {
    g_exiting = false;
}

bool ExitSequenceStarted() {
    return g_exiting;
}

void RunExitSequence(HWND mainWindow) {
    if (g_exiting) {
        return;
    }
    g_exiting = true;
    ExitRequested = 1;
    ShowWindow(mainWindow, SW_HIDE);
    if (StrayAntActive != 0) {
        for (HWND stray : StrayWindows) {
            ShowWindow(stray, SW_HIDE);
        }
    }
    SimulationRunning = 0;
    // A caller that sent the command and waits for it must not hold the wait up.
    if (InSendMessage()) {
        ReplyMessage(0);
    }
    WaitServingSentMessages(SimulationThread, kExitWaitMs);
    // Exit may come inside a modal loop of this thread (a menu, a drag of the rim, a box): the
    // menu and the drag are told to end, and a box goes with the window that owns it.
    EndMenu();
    ReleaseCapture();
    for (HWND stray : StrayWindows) {
        DestroyWindow(stray);
    }
    DestroyWindow(mainWindow);
}

bool CopyThreadHandle(HANDLE thread, HANDLE* copy) {
    return DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), copy, SYNCHRONIZE,
                           FALSE, 0) != 0;
}

void KeepThreadForFinish(HANDLE thread, ThreadHandleCopy copy) {
    HANDLE second = nullptr;
    if (thread == nullptr) {
        g_finishThread.reset();  // no thread was started: nothing to wait for
    } else if (copy != nullptr && copy(thread, &second) && second != nullptr) {
        g_finishThread.reset(second);
    } else {
        g_finishThread.reset(thread);
    }
}

void ReleaseShellObjects() {
    if (ThreadEnded()) {
        DeleteShellObjects();
    } else {
        g_objectsKept = true;
    }
    if (SimulationThread != nullptr && SimulationThread != g_finishThread.get()) {
        CloseHandle(SimulationThread);
    }
    SimulationThread = nullptr;
}

bool FinishShell(DWORD waitMs) {
    if (g_finishThread && WaitForSingleObject(g_finishThread.get(), waitMs) != WAIT_OBJECT_0) {
        return false;
    }
    g_finishThread.reset();
    if (g_objectsKept) {
        DeleteShellObjects();
    }
    return true;
}
