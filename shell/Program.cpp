// The program's one object and how its windows find it.
#include "shell/Program.h"

#include "simulation/SimulationRun.h"

Program::Program() : simulationEntry(&SimulationThreadProc) {}

Program::~Program() = default;

void AttachProgram(HWND window, LPARAM createStruct) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(createStruct);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

Program* ProgramOf(HWND window) {
    return reinterpret_cast<Program*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
