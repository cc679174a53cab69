// Both sides of a second start. The running program is found by its main window's class, the
// same name as its instance mutex.
#include "shell/SecondStart.h"

#include "shell/ExitSequence.h"
#include "shell/Program.h"
#include "shell/TrayIcon.h"
#include "platform/WindowMessages.h"

void BringRunningInstanceForward() {
    const HWND running = FindWindowA(kMainClassName, nullptr);
    if (running == nullptr) {
        return;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    // The process the user started last holds the right to the foreground; the running one can
    // only take the focus when it is handed on.
    AllowSetForegroundWindow(process);
    PostMessageA(running, WM_SECONDSTART, 0, 0);
}

LRESULT OnSecondStart(Program& program, HWND window) {
    if (program.state.splashWindow == nullptr && !ExitSequenceStarted(program)) {
        ShowMagnifier(program.state, window);
    }
    return 0;
}
