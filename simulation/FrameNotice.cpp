// The frame notice: at most one waits in the main window's queue.
#include "simulation/FrameNotice.h"

#include <atomic>
#include <cstdint>

#include "platform/WindowMessages.h"

namespace {
std::atomic<int32_t> g_noticeWaiting{0};
}  // namespace

void PostFrameNotice(HWND window) {
    if (g_noticeWaiting.exchange(1) == 0 &&
        (window == nullptr || !PostMessageA(window, WM_FRAMEREADY, 0, 0))) {
        g_noticeWaiting = 0;
    }
}

void AcknowledgeFrameNotice() {
    g_noticeWaiting = 0;
}
