// Storage of the run-control values and the background-name hand-over.
#include "simulation/SharedState.h"

#include <cstring>

#include "base/Geometry.h"

SharedInt SimulationRunning{0};
SharedInt ExitRequested{0};
SharedInt SplashDone{0};
SharedInt FrameWaitMs{kFrameWaitMs};
SharedInt HideTrails{0};
SharedInt FollowBall{1};
SharedInt ViewX{0};
SharedInt ViewY{0};
SharedInt BallSpeed{0};
SharedInt BallAngle{0};
SharedInt HappyCount{0};
SharedInt StrayAntActive{0};
SharedInt HasFocus{0};
SharedInt BackgroundChanged{0};
SharedInt MaskRebuildRequested{0};

namespace {
char g_backgroundName[kPathBytes] = "Resource";  // kBuiltInBackground
std::atomic_flag g_nameLock = ATOMIC_FLAG_INIT;

class NameLock {
  public:
    NameLock() {
        while (g_nameLock.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~NameLock() { g_nameLock.clear(std::memory_order_release); }
    NameLock(const NameLock&) = delete;
    NameLock& operator=(const NameLock&) = delete;
};

void CopyName(char* dst, const char* src) {
    std::strncpy(dst, src != nullptr ? src : "", kPathBytes - 1);
    dst[kPathBytes - 1] = '\0';
}
}  // namespace

void SetBackgroundFileName(const char* name) {
    NameLock lock;
    CopyName(g_backgroundName, name);
}

void GetBackgroundFileName(char (&name)[kPathBytes]) {
    NameLock lock;
    CopyName(name, g_backgroundName);
}

void RequestBackground(const char* name) {
    NameLock lock;
    CopyName(g_backgroundName, name);
    BackgroundChanged.store(1);
}

bool TakeBackgroundRequest(char (&name)[kPathBytes]) {
    // Name and flag are taken together: a drop that arrives while the field reloads sets the
    // flag again and is loaded in the next frame instead of being cleared unseen.
    NameLock lock;
    if (BackgroundChanged.load() == 0) {
        return false;
    }
    CopyName(name, g_backgroundName);
    BackgroundChanged.store(0);
    return true;
}
