// The program's one object and how its windows find it.
#include "shell/Program.h"

#include "simulation/SimulationRun.h"

Program::Program() : simulationEntry(&SimulationThreadProc) {}

Program::~Program() = default;

Program* ProgramOf(HWND window) {
    return reinterpret_cast<Program*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT DispatchToProgram(ProgramHandler handler, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Program* program = ProgramOf(window);
    return program != nullptr ? handler(*program, window, message, wParam, lParam)
                              : DefWindowProcA(window, message, wParam, lParam);
}
