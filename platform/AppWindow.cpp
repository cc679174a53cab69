// The main-window object and the Windows end of the message seam.
#include "platform/AppWindow.h"

#include "base/MessageSeam.h"
#include "platform/MessageHandOff.h"
#include "platform/UiText.h"
#include "platform/WideText.h"

AppWindow* TheAppWindow = nullptr;

AppWindow::AppWindow(HWND window)
    : hInstance_(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE))),
      hWnd_(window) {}

int AppWindow::ShowMessage(uint32_t text, uint32_t caption, UINT type) {
    return ShowProgramMessage(text, caption, type);
}

HINSTANCE ProgramInstance() {
    return TheAppWindow != nullptr ? TheAppWindow->GetInstance() : GetModuleHandleA(nullptr);
}

namespace {
MessageHandOff::GiveUpCheck g_giveUp = nullptr;

int ShowMessageBox(const MessageRequest& request) {
    HWND owner = nullptr;
    switch (request.owner) {
        case MessageOwner::MainWindow:
            owner = TheAppWindow != nullptr ? TheAppWindow->GetHWnd() : nullptr;
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
int RaiseOnWindowThread(const MessageRequest& request, MessageHandOff::ShowFunction showHere) {
    AppWindow* app = TheAppWindow;
    HWND main = app != nullptr ? app->GetHWnd() : nullptr;
    if (main == nullptr || GetWindowThreadProcessId(main, nullptr) == GetCurrentThreadId()) {
        return showHere(request);
    }
    return app->HandOff().Raise(main, request, g_giveUp);
}

void InstallMessageBoxSink(MessageHandOff::GiveUpCheck giveUp) {
    g_giveUp = giveUp;
    SetMessageSink(&ShowOnWindowThread);
}
