// The making of the world's images, the simulation thread's part of it, and the lease on the
// images and the stray-ant record.
#include "simulation/World.h"

#include "base/Geometry.h"
#include "resources/ResourceIds.h"

namespace {
template <typename T>
void Free(T*& part) {
    delete part;
    part = nullptr;
}
}  // namespace

World::~World() {
    DestroyRunParts();
    FreeLeased();
}

void World::CreateImages() {
    frame = new DIBImage();
    frame->ChangeBitCount(32);
    frame->SetWidth(kFrameWidth);
    frame->SetHeight(kFrameHeight);
    fieldCanvas = new DIBImage();
    fieldCanvas->ChangeBitCount(32);
    field = new DIBImage();
    magnifier = new DIBImage();
    antSprites = new DIBImage();
    ball = new DIBImage();
    heart = new DIBImage();
    magnifier->LoadBitmapResource(MAKEINTRESOURCEA(IDB_MAGNIFIER));
    magnifier->ChangeBitCount(32);
    // The magnifier picture is the upper half of bitmap 126, its mask the lower half.
    frame->DIBMaskCopy(0, 0, kFrameWidth, kFrameHeight, magnifier, 0, 0, magnifier, 0, kFrameHeight,
                       kMaskWhite);
    lensOverlay.Build(magnifier, kLensLeft, kLensTop, kLensSide, kFrameHeight);
}

void World::CreateRunParts() {
    DestroyRunParts();
    mask = new FieldMask();
    ants = new AntColony();
    hearts = new HeartList();
}

void World::DestroyRunParts() {
    Free(ants);
    Free(hearts);
    Free(mask);
}

void World::FreeLeased() {
    Free(frame);
    Free(fieldCanvas);
    Free(field);
    lensOverlay.Clear();
    Free(magnifier);
    Free(antSprites);
    Free(ball);
    Free(heart);
    Free(strayRecord);
}

void World::ReleaseLease() {
    // Only the call that takes the count from 1 to 0 frees; a surplus call does nothing.
    int32_t held = leases_.load();
    while (held > 0 && !leases_.compare_exchange_weak(held, held - 1)) {
    }
    if (held == 1) {
        FreeLeased();
    }
}

void World::ResetLease() {
    leases_.store(kLeaseHolders);
}
