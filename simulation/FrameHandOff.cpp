// The lock over the world's frame, and the coalesced notices.
#include "simulation/FrameHandOff.h"

#include "simulation/World.h"

FrameLock::FrameLock(World& world) : lock_(world.frameLock_) {
    AcquireSRWLockExclusive(&lock_);
}

FrameLock::~FrameLock() {
    ReleaseSRWLockExclusive(&lock_);
}

void PostCoalesced(PendingNotice& notice, HWND window, UINT message) {
    if (notice.Claim() && (window == nullptr || !PostMessageA(window, message, 0, 0))) {
        notice.Withdraw();
    }
}
