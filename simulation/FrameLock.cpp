// The one lock over FrameImage's pixels.
#include "simulation/FrameLock.h"

namespace {
SRWLOCK g_frame = SRWLOCK_INIT;
}  // namespace

FrameLock::FrameLock() {
    AcquireSRWLockExclusive(&g_frame);
}

FrameLock::~FrameLock() {
    ReleaseSRWLockExclusive(&g_frame);
}
