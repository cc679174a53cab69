// The world's one instance, the making of its images, the simulation thread's part of it, and the
// lease on the images and the stray-ant record.
#include "simulation/World.h"

#include <atomic>
#include <cstdint>

#include "base/Geometry.h"
#include "resources/ResourceIds.h"
#include "simulation/SharedState.h"

World TheWorld;

void CreateWorldImages() {
    TheWorld.frame = new DIBImage();
    TheWorld.frame->ChangeBitCount(32);
    TheWorld.frame->SetWidth(kFrameWidth);
    TheWorld.frame->SetHeight(kFrameHeight);
    TheWorld.fieldCanvas = new DIBImage();
    TheWorld.fieldCanvas->ChangeBitCount(32);
    TheWorld.field = new DIBImage();
    TheWorld.magnifier = new DIBImage();
    TheWorld.antSprites = new DIBImage();
    TheWorld.ball = new DIBImage();
    TheWorld.heart = new DIBImage();
    TheWorld.magnifier->LoadBitmapResource(MAKEINTRESOURCEA(IDB_MAGNIFIER));
    TheWorld.magnifier->ChangeBitCount(32);
    // The magnifier picture is the upper half of bitmap 126, its mask the lower half.
    TheWorld.frame->DIBMaskCopy(0, 0, kFrameWidth, kFrameHeight, TheWorld.magnifier, 0, 0,
                                TheWorld.magnifier, 0, kFrameHeight, kMaskWhite);
    TheWorld.lensOverlay.Build(TheWorld.magnifier, kLensLeft, kLensTop, kLensSide, kFrameHeight);
}

void CreateWorld() {
    DestroyWorld();
    TheWorld.mask = new FieldMask();
    TheWorld.ants = new AntColony();
    TheWorld.hearts = new HeartList();
}

void DestroyWorld() {
    delete TheWorld.ants;
    TheWorld.ants = nullptr;
    delete TheWorld.hearts;
    TheWorld.hearts = nullptr;
    delete TheWorld.mask;
    TheWorld.mask = nullptr;
}

namespace {
constexpr int32_t kLeaseHolders = 2;  // the window thread and the simulation thread
std::atomic<int32_t> g_leases{kLeaseHolders};

void FreeImage(DIBImage*& image) {
    delete image;
    image = nullptr;
}

void FreeWorld() {
    FreeImage(TheWorld.frame);
    FreeImage(TheWorld.fieldCanvas);
    FreeImage(TheWorld.field);
    TheWorld.lensOverlay.Clear();
    FreeImage(TheWorld.magnifier);
    FreeImage(TheWorld.antSprites);
    FreeImage(TheWorld.ball);
    FreeImage(TheWorld.heart);
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
