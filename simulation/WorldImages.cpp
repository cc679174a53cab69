// Storage of the seven world images and the one place that makes them.
// The window thread calls CreateWorldImages at the main window's creation.
#include "simulation/WorldImages.h"

#include "resources/ResourceIds.h"
#include "simulation/LensRenderer.h"
#include "simulation/WorldRules.h"

DIBImage* FrameImage = nullptr;
DIBImage* FieldCanvas = nullptr;
DIBImage* FieldImage = nullptr;
DIBImage* MagnifierImage = nullptr;
DIBImage* AntSprites = nullptr;
DIBImage* BallImage = nullptr;
DIBImage* HeartImage = nullptr;
LensOverlay TheLensOverlay;

void CreateWorldImages() {
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
                            0, kFrameHeight, kMaskWhite);
    TheLensOverlay.Build(MagnifierImage, kLensLeft, kLensTop, kLensSide, kFrameHeight);
}
