// The request that travels from the asking thread to the window thread. Both sides hold it; the
// side that lets go last frees it, so an asker that gave up never leaves the server a dangling
// request, and a request that is never served never leaves the asker waiting for ever.
#include "platform/MessageHandOff.h"

#include <atomic>

#include "platform/UniqueHandle.h"
#include "platform/WindowMessages.h"

namespace {
struct PendingBox {
    uint32_t text = 0;  // copies: the asker may stop waiting before the box is shown
    uint32_t caption = 0;
    uint32_t flags = 0;
    MessageOwner owner = MessageOwner::MainWindow;
    void* window = nullptr;
    UniqueKernelHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> result{0};
    std::atomic<int> holders{2};  // the asker and the window thread

    void Release() {
        if (holders.fetch_sub(1) == 1) {
            delete this;
        }
    }
};

PendingBox* FromParam(LPARAM request) {
    return reinterpret_cast<PendingBox*>(request);
}
}  // namespace

int MessageHandOff::Raise(HWND window, const MessageRequest& request, GiveUpCheck giveUp) {
    auto* box = new PendingBox();
    box->text = request.text;
    box->caption = request.caption;
    box->flags = request.flags;
    box->owner = request.owner;
    box->window = request.window;
    if (!box->done || !PostMessageA(window, WM_SHOWBOX, 0, reinterpret_cast<LPARAM>(box))) {
        // Nobody will serve it: both holds go here.
        box->Release();
        box->Release();
        return 0;
    }
    int result = 0;
    for (;;) {
        if (WaitForSingleObject(box->done.get(), kGiveUpSliceMs) == WAIT_OBJECT_0) {
            result = box->result.load();
            break;
        }
        if (giveUp != nullptr && giveUp()) {
            break;
        }
    }
    box->Release();
    return result;
}

LRESULT MessageHandOff::Serve(LPARAM request, ShowFunction show) {
    PendingBox* box = FromParam(request);
    if (box == nullptr) {
        return 0;
    }
    const MessageRequest shown{box->text, box->caption, box->flags, box->owner, box->window};
    box->result = show != nullptr ? show(shown) : 0;
    SetEvent(box->done.get());
    box->Release();
    return 0;
}

void MessageHandOff::Discard(LPARAM request) {
    PendingBox* box = FromParam(request);
    if (box != nullptr) {
        SetEvent(box->done.get());
        box->Release();
    }
}
