// How the simulation thread's work reaches the window thread without waiting for it: the lock
// over the frame both threads touch, and notices posted to the main window of which at most one
// waits in its queue (a new frame, a new stray-ant pose).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/MessageSeam.h"

// The lock between the simulation thread, which writes each new frame into TheWorld.frame, and the
// window thread, which sends TheWorld.frame to the screen: neither sees the other half done. Held
// for the time of one write of the frame or one paint from it (a copy of the lens square, a
// fraction of a millisecond): a slim lock, taken without a trip to the Wine server unless the other
// thread holds it. No box may come up while it is held: the window thread, which shows the boxes,
// may be waiting for it. What runs under it uses only the pixel kernels, which raise none, and the
// lock's own zone refuses (and reports) any box asked for all the same.
class FrameLock {
  public:
    FrameLock();
    ~FrameLock();
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;

  private:
    NoMessageZone zone_;
};

// A notice of which at most one waits in the window's queue. Posting never waits for the window
// thread (a send costs several trips to the Wine server, and the window thread may be in a
// message box); a change that comes while a notice waits is taken up by it.
class CoalescedPost {
  public:
    explicit CoalescedPost(UINT message) : message_(message) {}
    CoalescedPost(const CoalescedPost&) = delete;
    CoalescedPost& operator=(const CoalescedPost&) = delete;

    // Posts the message unless one waits; a post that fails (or no window) leaves none waiting.
    void Post(HWND window);
    // For the window thread as it takes the notice, before it reads: the next change posts anew.
    void Acknowledge() { waiting_ = 0; }

  private:
    const UINT message_;
    std::atomic<int32_t> waiting_{0};
};

// WM_FRAMEREADY, posted after each frame composed while the magnifier shows: the window thread
// paints the lens square from TheWorld.frame when it takes the notice.
void PostFrameNotice(HWND window);
// For the window thread, before it paints: the next frame posts a new notice.
void AcknowledgeFrameNotice();
