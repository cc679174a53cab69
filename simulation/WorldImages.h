// The seven images of the world: the window thread creates them, the simulation thread loads,
// converts, resizes and draws into them, and the lease (WorldLease.h) frees them.
#pragma once

#include "imaging/DIBImage.h"
#include "simulation/LensOverlay.h"

extern DIBImage* FrameImage;        // kFrameWidth x kFrameHeight, what the main window shows
extern DIBImage* FieldCanvas;       // field-sized working picture
extern DIBImage* FieldImage;        // the background as loaded
extern DIBImage* MagnifierImage;    // bitmap 126: picture over mask
extern DIBImage* AntSprites;        // bitmap 107
extern DIBImage* BallImage;         // bitmap 108
extern DIBImage* HeartImage;        // bitmap 115
extern LensOverlay TheLensOverlay;  // the magnifier's rim inside the lens square

// Makes the seven images: the frame (300 x 360, 32 bits) with the magnifier already laid into it
// where its mask is not white, the field canvas at 32 bits, the magnifier loaded, and the field,
// sprites, ball and heart empty for the simulation thread to load; and the rim's runs inside the
// lens square.
void CreateWorldImages();
