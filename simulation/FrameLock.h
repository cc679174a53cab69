// The lock between the simulation thread, which writes each new frame into FrameImage, and the
// window thread, which sends FrameImage to the screen: neither sees the other half done.
#pragma once

#include <windows.h>

#include "imaging/MessageSeam.h"

// Held for the time of one write of the frame or one paint from it (a copy of the lens square, a
// fraction of a millisecond): a slim lock, taken without a trip to the Wine server unless the
// other thread holds it. No box may come up while it is held: the window thread, which shows the
// boxes, may be waiting for it. What runs under it uses only the pixel kernels, which raise none,
// and the lock's own zone refuses (and reports) any box asked for all the same.
class FrameLock {
  public:
    FrameLock();
    ~FrameLock();
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;

  private:
    NoMessageZone zone_;
};
