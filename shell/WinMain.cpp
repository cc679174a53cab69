// Program entry of kirelo.exe: one instance, the windows and shapes, the message loop, and the
// end in an order in which neither thread can touch what the other has freed.
#include <windows.h>

#include "imaging/AppWindow.h"
#include "imaging/ScreenInfo.h"
#include "imaging/UniqueHandle.h"
#include "shell/SecondStart.h"
#include "shell/ShellStartup.h"
#include "shell/ExitSequence.h"
#include "shell/PointerState.h"
#include "shell/ShellWindowState.h"
#include "simulation/ProgramWindows.h"
#include "simulation/StrayAntShared.h"
#include "simulation/ThreadMessages.h"
#include "simulation/WorldImages.h"
#include "simulation/WorldLease.h"
#include "simulation/SharedState.h"

namespace {
// Long enough for the simulation thread to come out of its splash pause after an early Exit.
constexpr DWORD kFinishWaitMs = 4000;

// The mutex that marks a running instance, or nothing when another instance holds it.
UniqueKernelHandle TakeInstanceMutex() {
    HANDLE running = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMainClassName);
    if (running != nullptr) {
        CloseHandle(running);
        return UniqueKernelHandle();
    }
    UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, kMainClassName));
    // Two starts at the same moment both pass the open; only one creates the mutex.
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        return UniqueKernelHandle();
    }
    return mutex;
}

int RunMessageLoop() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    UniqueKernelHandle instanceMutex = TakeInstanceMutex();
    if (!instanceMutex) {
        // The user asked for the glass again: the running one comes forward instead.
        BringRunningInstanceForward();
        return 0;
    }
    TheScreen = new ScreenInfo();
    // A box the simulation thread waits for stops being waited for once Exit was chosen.
    InstallMessageBoxSink([] { return ExitRequested != 0; });

    int exitCode = 0;
    {
        ShellStartup startup(instance);
        // The stray ant's start is drawn before the simulation thread exists, so its draws and
        // the thread's never interleave.
        startup.CreateStrayAnt();
        startup.CreateMainWindow();
        startup.ShowSplash();
        startup.CutMagnifierShape();
        startup.CreateStrayWindows();
        startup.ReleaseShapeImage();
        // Only now may the simulation thread let the stray ant out.
        ShellReady = 1;
        exitCode = RunMessageLoop();
    }  // the rim region goes here

    // The windows are gone; the images and the stray-ant record are freed by whichever of the
    // two threads lets go of them last.
    ReleaseWorldLease();
    if (!FinishShell(kFinishWaitMs)) {
        // The simulation thread sits in a message box of its own: end the process without
        // running the static destructors under it.
        instanceMutex.reset();
        ExitProcess(static_cast<UINT>(exitCode));
    }
    return exitCode;
}
