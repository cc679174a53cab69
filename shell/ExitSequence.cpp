// The end of the program: its order is written down here, and done here, top to bottom.
//
// How Kirelo ends, whoever asks (the menu or the tray menu's Exit, Alt+F4, Escape, the end of the
// game; the last two come from the simulation thread, whose run reports its end: the shell then
// posts the Exit command to the main window, RequestExitFromRun):
//  1. RunExitSequence (window thread): the shared exitRequested := 1, so the simulation thread
//     stops at its next look (top and end of a frame, every kPauseSliceMs of a pause, and while
//     it waits for a box shown on its behalf); the magnifier and the stray ant's windows are
//     hidden, so nothing of the program stays visible; running := 0.
//  2. It waits for the thread, at most kExitWaitMs, and meanwhile answers the messages the
//     thread sends to its windows (the splash's end), so a thread in the middle of a frame can
//     finish it; frames and stray-ant moves are posted notices, which wait in the queue. From a
//     running game the wait ends as soon as the thread has.
//  3. Menus and drags in progress are ended; the stray ant's two windows and the main window are
//     destroyed (with any box they own). WM_DESTROY (CloseMainWindow) closes the hand-off of
//     boxes (those nobody will show now, and any asked for later), removes the tray icon, frees
//     the menu and the help, and deletes the screen facts and the app window unless the thread is
//     still alive (then FinishShell does it later).
//  4. The simulation thread, on leaving its loop (SimulationRun::Teardown), frees the colony,
//     hearts and mask, and lets go of its lease on the images and the stray-ant record.
//  5. After the message loop WinMain (EndProgram) lets go of its lease too: whichever of the two
//     threads lets go last frees the images and the record. FinishShell then waits a little
//     longer for a thread that is still in a pause, and if it never ends the process ends
//     without running static destructors under it.
#include "shell/ExitSequence.h"

#include <shellapi.h>

#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "shell/Program.h"
#include "simulation/World.h"

namespace {
bool ThreadEnded(const ExitRecord& exit) {
    return !exit.thread || WaitForSingleObject(exit.thread.get(), 0) == WAIT_OBJECT_0;
}

void DeleteShellObjects(Program& program) {
    program.screen.reset();
    program.app.reset();
    program.exit.objectsKept = false;
}

// Waits for the thread like WaitForSingleObject, but serves the messages other threads send to
// this one meanwhile: a simulation thread blocked in a send to the main window would otherwise
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

void StartSimulationThread(Program& program) {
    program.exit.exiting = false;
    program.exit.threadReleased = false;
    program.shared.running = 1;
    program.simulationLinks.emplace(
        SimulationLinks{program.world, program.shared, program.mainWindow, program.reports});
    program.exit.thread.reset(
        CreateThread(nullptr, 0, program.simulationEntry, &*program.simulationLinks, 0, nullptr));
}

HANDLE SimulationThreadHandle(const Program& program) {
    return program.exit.threadReleased ? nullptr : program.exit.thread.get();
}

void RequestExitFromRun(HWND mainWindow) {
    // Posted, not sent: step 2 waits for the simulation thread, which lets go of the world right
    // after this and ends.
    PostMessageA(mainWindow, WM_COMMAND, IDM_EXIT, 0);
}

// 1. to 3.
void RunExitSequence(Program& program, HWND mainWindow) {
    if (program.exit.exiting) {
        return;
    }
    program.exit.exiting = true;
    program.shared.exitRequested = 1;
    ShowWindow(mainWindow, SW_HIDE);
    if (program.shared.strayAntActive != 0) {
        for (HWND stray : program.strayWindows) {
            ShowWindow(stray, SW_HIDE);
        }
    }
    program.shared.running = 0;
    // A caller that sent the command and waits for it must not hold the wait up.
    if (InSendMessage()) {
        ReplyMessage(0);
    }
    WaitServingSentMessages(program.exit.thread.get(), kExitWaitMs);
    // Exit may come inside a modal loop of this thread (a menu, a drag of the rim, a box): the
    // menu and the drag are told to end, and a box goes with the window that owns it.
    EndMenu();
    ReleaseCapture();
    for (HWND stray : program.strayWindows) {
        DestroyWindow(stray);
    }
    DestroyWindow(mainWindow);
}

bool ExitSequenceStarted(const Program& program) {
    return program.exit.exiting;
}

// 3., WM_DESTROY.
void CloseMainWindow(Program& program, HWND mainWindow) {
    DragAcceptFiles(mainWindow, FALSE);
    // Boxes the simulation thread asked for and nobody will show now, and any it asks for from
    // now on: its wait ends with them.
    if (program.app) {
        program.app->HandOff().Close();
    }
    if (program.trayIcon) {
        program.trayIcon->Remove();
        program.trayIcon.reset();
    }
    program.helpViewer.reset();
    if (ThreadEnded(program.exit)) {
        DeleteShellObjects(program);
    } else {
        program.exit.objectsKept = true;
    }
    program.state.menu.reset();
    program.exit.threadReleased = true;
    PostQuitMessage(0);
}

// 5.
bool FinishShell(Program& program, DWORD waitMs) {
    ExitRecord& exit = program.exit;
    if (exit.thread && WaitForSingleObject(exit.thread.get(), waitMs) != WAIT_OBJECT_0) {
        return false;
    }
    exit.thread.reset();
    if (exit.objectsKept) {
        DeleteShellObjects(program);
    }
    return true;
}

int EndProgram(Program& program, int exitCode, UniqueKernelHandle& instanceMutex) {
    program.world.ReleaseLease();
    if (!FinishShell(program, kFinishWaitMs)) {
        // The simulation thread sits in a message box of its own: end the process without
        // running the static destructors under it.
        instanceMutex.reset();
        ExitProcess(static_cast<UINT>(exitCode));
    }
    return exitCode;
}
