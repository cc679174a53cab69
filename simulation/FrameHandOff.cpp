// The one lock over TheWorld.frame's pixels, and the coalesced notices.
#include "simulation/FrameHandOff.h"

#include "platform/WindowMessages.h"

namespace {
SRWLOCK g_frame = SRWLOCK_INIT;
CoalescedPost g_frameNotice{WM_FRAMEREADY};
}  // namespace

FrameLock::FrameLock() {
    AcquireSRWLockExclusive(&g_frame);
}

FrameLock::~FrameLock() {
    ReleaseSRWLockExclusive(&g_frame);
}

void CoalescedPost::Post(HWND window) {
    if (waiting_.exchange(1) == 0 && (window == nullptr || !PostMessageA(window, message_, 0, 0))) {
        waiting_ = 0;
    }
}

void PostFrameNotice(HWND window) {
    g_frameNotice.Post(window);
}

void AcknowledgeFrameNotice() {
    g_frameNotice.Acknowledge();
}
