// The request that travels from the asking thread to the window thread. Both sides hold it; the
// side that lets go last frees it, so an asker that gave up never leaves the server a dangling
// request, and a request that is never served never leaves the asker waiting for ever. The
// pending list is the window side's hold: a request posted just before the window went, which
// the window's queue drops unseen, is still freed by Close.
#include "platform/MessageHandOff.h"

#include <algorithm>
#include <atomic>

#include "platform/UniqueHandle.h"
#include "platform/WindowMessages.h"

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
    void Finish(int answer) {
        result = answer;
        SetEvent(done.get());
        Release();
    }
};

namespace {
class ExclusiveLock {
  public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

  private:
    SRWLOCK& lock_;
};
}  // namespace

MessageHandOff::~MessageHandOff() {
    Close();
}

int MessageHandOff::Raise(HWND window, const MessageRequest& request, const GiveUpCheck& giveUp) {
    auto* box = new PendingBox();
    box->text = request.text;
    box->caption = request.caption;
    box->flags = request.flags;
    box->owner = request.owner;
    box->window = request.window;
    bool posted = false;
    {
        // Posted and listed in one step, so Close sees every request that can reach the queue.
        const ExclusiveLock guard(lock_);
        if (!closed_ && box->done &&
            PostMessageA(window, WM_SHOWBOX, 0, reinterpret_cast<LPARAM>(box))) {
            pending_.push_back(box);
            posted = true;
        }
    }
    if (!posted) {
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
        if (giveUp && giveUp()) {
            break;
        }
    }
    box->Release();
    return result;
}

bool MessageHandOff::Take(PendingBox* box) {
    const ExclusiveLock guard(lock_);
    const auto found = std::find(pending_.begin(), pending_.end(), box);
    if (found == pending_.end()) {
        return false;
    }
    pending_.erase(found);
    return true;
}

LRESULT MessageHandOff::Serve(LPARAM request, const ShowFunction& show) {
    auto* box = reinterpret_cast<PendingBox*>(request);
    if (box == nullptr || !Take(box)) {
        return 0;
    }
    const MessageRequest shown{box->text, box->caption, box->flags, box->owner, box->window};
    box->Finish(show ? show(shown) : 0);
    return 0;
}

void MessageHandOff::Close() {
    std::vector<PendingBox*> dropped;
    {
        const ExclusiveLock guard(lock_);
        closed_ = true;
        dropped.swap(pending_);
    }
    for (PendingBox* box : dropped) {
        box->Finish(0);
    }
}

size_t MessageHandOff::Pending() const {
    const ExclusiveLock guard(lock_);
    return pending_.size();
}
