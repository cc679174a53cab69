// The main-window object and the Windows end of the message seam.
#include "platform/AppWindow.h"

#include <utility>

#include "base/MessageSeam.h"
#include "platform/MessageHandOff.h"
#include "platform/UiText.h"
#include "platform/WideText.h"

AppWindow::AppWindow(HWND window)
    : hInstance_(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE))),
      hWnd_(window) {}

int AppWindow::ShowMessage(uint32_t text, uint32_t caption, UINT type) {
    return ShowProgramMessage(text, caption, type);
}

HINSTANCE ProgramInstance() {
    return GetModuleHandleA(nullptr);
}

namespace {
// The sink is a plain function behind the message seam, which every thread calls: what it needs
// of the program is installed with it, once, before the program's threads start.
const std::unique_ptr<AppWindow>* g_app = nullptr;  // not owned: the program's slot
MessageHandOff::GiveUpCheck g_giveUp;

AppWindow* InstalledApp() {
    return g_app != nullptr ? g_app->get() : nullptr;
}

int ShowMessageBox(const MessageRequest& request) {
    HWND owner = nullptr;
    switch (request.owner) {
        case MessageOwner::MainWindow:
            owner = InstalledApp() != nullptr ? InstalledApp()->GetHWnd() : nullptr;
            break;
        case MessageOwner::GivenWindow:
            owner = static_cast<HWND>(request.window);
            break;
        case MessageOwner::NoOwner:
            break;
    }
    return MessageBoxW(owner, UiText::Text(request.text).c_str(),
                       UiText::Text(request.caption).c_str(), request.flags);
}

int ShowOnWindowThread(const MessageRequest& request) {
    return RaiseOnWindowThread(request, &ShowMessageBox);
}
}  // namespace

// Boxes are made on the main window's thread only; a box asked for elsewhere is handed over.
int RaiseOnWindowThread(const MessageRequest& request,
                        const MessageHandOff::ShowFunction& showHere) {
    AppWindow* app = InstalledApp();
    HWND main = app != nullptr ? app->GetHWnd() : nullptr;
    if (main == nullptr || GetWindowThreadProcessId(main, nullptr) == GetCurrentThreadId()) {
        return showHere(request);
    }
    return app->HandOff().Raise(main, request, g_giveUp);
}

void InstallMessageBoxSink(const std::unique_ptr<AppWindow>& app,
                           MessageHandOff::GiveUpCheck giveUp) {
    g_app = &app;
    g_giveUp = std::move(giveUp);
    SetMessageSink(&ShowOnWindowThread);
}
