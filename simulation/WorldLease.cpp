// The lease on the world's images and the stray-ant record: two holders, the window thread and
// the simulation thread; the one that lets go second frees everything.
#include "simulation/WorldLease.h"

#include <atomic>
#include <cstdint>

#include "simulation/SharedState.h"
#include "simulation/WorldImages.h"

namespace {
constexpr int32_t kLeaseHolders = 2;  // the window thread and the simulation thread
std::atomic<int32_t> g_leases{kLeaseHolders};

void FreeImage(DIBImage*& image) {
    delete image;
    image = nullptr;
}

void FreeWorld() {
    FreeImage(FrameImage);
    FreeImage(FieldCanvas);
    FreeImage(FieldImage);
    TheLensOverlay.Clear();
    FreeImage(MagnifierImage);
    FreeImage(AntSprites);
    FreeImage(BallImage);
    FreeImage(HeartImage);
    delete Shared.strayRecord;
    Shared.strayRecord = nullptr;
}
}  // namespace

void ReleaseWorldLease() {
    // Only the call that takes the count from 1 to 0 frees; a surplus call does nothing.
    int32_t held = g_leases.load();
    while (held > 0 && !g_leases.compare_exchange_weak(held, held - 1)) {
    }
    if (held == 1) {
        FreeWorld();
    }
}

void ResetWorldLease() {
    g_leases.store(kLeaseHolders);
}
