// Message boxes asked for on a thread that owns no window are shown by the main window's thread.
// The asking thread still waits for the box to close, but can stop waiting when the program ends.
#pragma once

#include <windows.h>

#include "base/MessageSeam.h"

class MessageHandOff {
  public:
    using GiveUpCheck = bool (*)();
    using ShowFunction = int (*)(const MessageRequest& request);

    // On the asking thread: posts the request to window and waits until its thread has shown and
    // closed the box (returns the box's result), or until giveUp() holds (returns 0). A box
    // made on the asking thread itself would be one that no message loop of the window thread
    // paints or answers while that thread waits for the asker.
    static int Raise(HWND window, const MessageRequest& request, GiveUpCheck giveUp);

    // On the window thread, from the WM_SHOWBOX handler: shows the box with show and wakes the
    // asker. Always returns 0.
    static LRESULT Serve(LPARAM request, ShowFunction show);

    // For a WM_SHOWBOX that will never be served (the window is going): frees it and wakes the
    // asker without a result.
    static void Discard(LPARAM request);

    // How often a waiting asker looks at its give-up check.
    static constexpr DWORD kGiveUpSliceMs = 20;
};
