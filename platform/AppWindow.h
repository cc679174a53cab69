// The main window and module instance, and the program's message boxes, which the main window
// owns. The Windows message sink lives here: every box of the program ends in MessageBoxW, shown
// by the main window's thread.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/MessageHandOff.h"

class AppWindow {
  public:
    explicit AppWindow(HWND window);
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    // A box owned by the main window, through the message seam; returns the box's result.
    int ShowMessage(uint32_t text, uint32_t caption, UINT type);
    HINSTANCE GetInstance() const { return hInstance_; }
    HWND GetHWnd() const { return hWnd_; }
    // The road of other threads' boxes to the main window (closed when the window goes).
    MessageHandOff& HandOff() { return handOff_; }

  private:
    HINSTANCE hInstance_;
    HWND hWnd_;  // not owned
    MessageHandOff handOff_;
};

// Routes the message seam to MessageBoxW, the texts converted from code page 932 (owner: the
// main window of the app window in app, no window, or the given one), always on the main window's
// thread: another thread's box is handed to it and waited for until it closes or giveUp() holds.
// app is the program's slot of its app window (filled at WM_CREATE, emptied at the end), which
// must outlive every box. kirelo.exe installs it at start; tests install a recorder instead.
void InstallMessageBoxSink(const std::unique_ptr<AppWindow>& app,
                           MessageHandOff::GiveUpCheck giveUp);
// What that sink does with one request: on the main window's thread (or with no main window
// yet) showHere shows it at once; on any other thread it is handed to the main window, whose
// WM_SHOWBOX handler shows it, and this waits. Uses the give-up check installed above.
int RaiseOnWindowThread(const MessageRequest& request,
                        const MessageHandOff::ShowFunction& showHere);
// The module whose resources are loaded: the program's own (its windows are made with it).
HINSTANCE ProgramInstance();
