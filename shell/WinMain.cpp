// Program entry of kirelo.exe: one instance, the windows and shapes, the message loop, and the
// end in an order in which neither thread can touch what the other has freed.
#include <windows.h>

#include "base/Geometry.h"
#include <memory>

#include "platform/AppWindow.h"
#include "platform/DisplayDpi.h"
#include "platform/ScreenInfo.h"
#include "platform/UniqueHandle.h"
#include "shell/ExitSequence.h"
#include "shell/Program.h"
#include "shell/RunTimings.h"
#include "shell/SecondStart.h"
#include "shell/ShellStartup.h"
#include "shell/ShellWindowState.h"

namespace {
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
    // The run's one Program, in static storage: it outlives both threads (a simulation thread
    // that never ends is left running when the process ends through ExitProcess), and only what
    // it is handed to can reach it.
    static Program program;
    ChooseRunTimings(program.shared.timings);
    UniqueKernelHandle instanceMutex = TakeInstanceMutex();
    if (!instanceMutex) {
        // The user asked for the glass again: the running one comes forward instead.
        BringRunningInstanceForward();
        return 0;
    }
    // Before any window: the program sizes its windows for each monitor's DPI itself.
    DisplayDpi::DeclareAwareness();
    program.screen = std::make_unique<ScreenInfo>();
    // A box the simulation thread waits for stops being waited for once Exit was chosen.
    const SharedState& shared = program.shared;
    InstallMessageBoxSink(program.app, [&shared] { return shared.exitRequested != 0; });

    int exitCode = 0;
    {
        ShellStartup startup(program, instance);
        // The stray ant's start is drawn before the simulation thread exists, so its draws and
        // the thread's never interleave.
        startup.CreateStrayAnt();
        startup.CreateMainWindow();
        startup.ShowSplash();
        startup.CutMagnifierShape();
        startup.CreateStrayWindows();
        startup.ReleaseShapeImage();
        // Only now may the simulation thread let the stray ant out.
        program.shared.shellReady = 1;
        exitCode = RunMessageLoop();
    }  // the rim region goes here

    return EndProgram(program, exitCode, instanceMutex);
}
