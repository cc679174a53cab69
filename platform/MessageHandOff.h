// Message boxes asked for on a thread that owns no window are shown by the main window's thread.
// The asking thread still waits for the box to close, but can stop waiting when the program ends.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "base/MessageSeam.h"

struct PendingBox;

// One per main window: it knows every request posted to the window and not yet served, so that
// none is left behind when the window goes, whenever it was posted.
class MessageHandOff {
  public:
    // Functions with their context: the program's state they look at is handed to them, not
    // reached by name.
    using GiveUpCheck = std::function<bool()>;
    using ShowFunction = std::function<int(const MessageRequest& request)>;

    MessageHandOff() = default;
    ~MessageHandOff();
    MessageHandOff(const MessageHandOff&) = delete;
    MessageHandOff& operator=(const MessageHandOff&) = delete;

    // On the asking thread: posts the request to window and waits until its thread has shown and
    // closed the box (returns the box's result), or until giveUp() holds (returns 0). A box
    // made on the asking thread itself would be one that no message loop of the window thread
    // paints or answers while that thread waits for the asker. After Close it asks nothing.
    int Raise(HWND window, const MessageRequest& request, const GiveUpCheck& giveUp);

    // On the window thread, from the WM_SHOWBOX handler: shows the box with show and wakes the
    // asker. A request this hand-off no longer knows (closed meanwhile) is left alone. Returns 0.
    LRESULT Serve(LPARAM request, const ShowFunction& show);

    // For the window going: wakes every asker still waiting for a box without a result, frees the
    // requests, and turns away every later one.
    void Close();

    // Requests posted and not yet served or closed.
    size_t Pending() const;

    // How often a waiting asker looks at its give-up check.
    static constexpr DWORD kGiveUpSliceMs = 20;

  private:
    // Takes the request out of the pending list; false when it is not there.
    bool Take(PendingBox* box);

    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<PendingBox*> pending_;  // each holds the window side's share of its request
    bool closed_ = false;
};
