// Storage of the window-side state and the end of the shell's own objects.
#include "shell/ShellState.h"

#include "imaging/AppWindow.h"
#include "imaging/ScreenInfo.h"
#include "imaging/UniqueHandle.h"
#include "simulation/SimulationThread.h"

const char kMainClassName[] = "「Kirelo」";
const char kSplashClassName[] = "スプラッシュウインドウ";
const char kStrayClassName[] = "はぐれありさん";

HMENU AppMenu = nullptr;
HCURSOR StickCursor = nullptr;
HCURSOR BinocularsCursor = nullptr;
int WindowShown = 1;
int Topmost = 0;
int PointerOverRim = 1;
int PanDragging = 0;
int16_t LastPointerX = 0;
int16_t LastPointerY = 0;
DWORD GrabTick = 0;
HRGN RimRegion = nullptr;
HWND SplashWindow = nullptr;
HANDLE SimulationThread = nullptr;
UINT TaskbarCreatedMessage = 0;

LPTHREAD_START_ROUTINE SimulationEntry = &SimulationThreadProc;
DWORD(WINAPI* ShellTickCount)() = &GetTickCount;

namespace {
UniqueKernelHandle g_finishThread;  // a second handle of the simulation thread
bool g_objectsKept = false;         // TheScreen and TheAppWindow wait for FinishShell

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
}  // namespace

void KeepThreadForFinish(HANDLE thread) {
    HANDLE copy = nullptr;
    if (thread != nullptr && DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(),
                                             &copy, SYNCHRONIZE, FALSE, 0)) {
        g_finishThread.reset(copy);
    } else {
        g_finishThread.reset();
    }
}

void ReleaseShellObjects() {
    if (ThreadEnded()) {
        DeleteShellObjects();
    } else {
        g_objectsKept = true;
    }
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
