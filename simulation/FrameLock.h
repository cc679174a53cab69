// The lock between the simulation thread, which writes each new frame into FrameImage, and the
// window thread, which sends FrameImage to the screen: neither sees the other half done.
#pragma once

#include <windows.h>

// Held for the time of one write of the frame or one paint from it (a copy of the lens square, a
// fraction of a millisecond): a slim lock, taken without a trip to the Wine server unless the
// other thread holds it.
class FrameLock {
  public:
    FrameLock();
    ~FrameLock();
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;
};
