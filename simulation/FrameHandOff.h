// How the simulation thread's work reaches the window thread without waiting for it: the lock
// over the frame both threads touch, and notices posted to the main window of which at most one
// waits in its queue (a new frame, a new stray-ant pose).
#pragma once

#include <windows.h>

#include "base/MessageSeam.h"
#include "simulation/PendingNotice.h"

class World;

// The lock between the simulation thread, which writes each new frame into the world's frame,
// and the window thread, which sends that frame to the screen: neither sees the other half done.
// Held for the time of one write of the frame or one paint from it (a copy of the lens square, a
// fraction of a millisecond): a slim lock, taken without a trip to the Wine server unless the other
// thread holds it. No box may come up while it is held: the window thread, which shows the boxes,
// may be waiting for it. What runs under it uses only the pixel kernels, which raise none, and the
// lock's own zone refuses (and reports) any box asked for all the same.
class FrameLock {
  public:
    explicit FrameLock(World& world);
    ~FrameLock();
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;

  private:
    SRWLOCK& lock_;
    NoMessageZone zone_;
};

// Posts message to window unless notice says one waits. Posting never waits for the window
// thread (a send costs several trips to the Wine server, and the window thread may be in a
// message box); a post that fails (or no window) leaves none waiting.
void PostCoalesced(PendingNotice& notice, HWND window, UINT message);
