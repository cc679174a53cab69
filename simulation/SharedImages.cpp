// Storage of the shared images, windows and stray-ant record, and the lease that frees them only
// when both the window thread and the simulation thread are done with them.
#include "simulation/SharedImages.h"

#include <atomic>

#include "resources/ResourceIds.h"

DIBImage* FrameImage = nullptr;
DIBImage* FieldCanvas = nullptr;
DIBImage* FieldImage = nullptr;
DIBImage* MagnifierImage = nullptr;
DIBImage* AntSprites = nullptr;
DIBImage* BallImage = nullptr;
DIBImage* HeartImage = nullptr;

HWND MainWindow = nullptr;
HWND StrayWindows[kStrayWindowCount] = {};
StrayAnt* StrayAntRecord = nullptr;

SharedInt ShellReady{0};

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
    FreeImage(MagnifierImage);
    FreeImage(AntSprites);
    FreeImage(BallImage);
    FreeImage(HeartImage);
    delete StrayAntRecord;
    StrayAntRecord = nullptr;
}
}  // namespace

void CreateWorldImages() {
    constexpr int kFrameWidth = 300;
    constexpr int kFrameHeight = 360;
    constexpr uint32_t kMaskKey = 0xFFFFFF;  // white: transparent in the magnifier's mask
    FrameImage = new DIBImage();
    FrameImage->ChangeBitCount(32);
    FrameImage->SetWidth(kFrameWidth);
    FrameImage->SetHeight(kFrameHeight);
    FieldCanvas = new DIBImage();
    FieldCanvas->ChangeBitCount(32);
    FieldImage = new DIBImage();
    MagnifierImage = new DIBImage();
    AntSprites = new DIBImage();
    BallImage = new DIBImage();
    HeartImage = new DIBImage();
    MagnifierImage->LoadBitmapResource(MAKEINTRESOURCEA(IDB_MAGNIFIER));
    MagnifierImage->ChangeBitCount(32);
    // The magnifier picture is the upper half of bitmap 126, its mask the lower half.
    FrameImage->DIBMaskCopy(0, 0, kFrameWidth, kFrameHeight, MagnifierImage, 0, 0, MagnifierImage,
                            0, kFrameHeight, kMaskKey);
}

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
