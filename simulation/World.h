// The simulation's world: the seven images, the magnifier's rim inside the lens, the field mask,
// the colony and the hearts. Who makes and frees each part:
//  - the images and the rim: the window thread makes them at the main window's creation
//    (CreateWorldImages); the simulation thread loads, converts, resizes and draws into them;
//    both threads hold a lease on them (and on the stray-ant record) and the one that lets go
//    second frees them, so neither can touch a freed image whatever order the exit takes.
//    FrameImage's pixels are shared under the frame lock (FrameHandOff.h).
//  - the mask, the colony and the hearts: the simulation thread's own, from its start-up
//    (CreateWorld) to its teardown (DestroyWorld); only it (or a test standing in for it)
//    touches them.
#pragma once

#include "colony/AntColony.h"
#include "colony/FieldMask.h"
#include "imaging/DIBImage.h"
#include "simulation/HeartList.h"
#include "simulation/LensOverlay.h"

struct World {
    DIBImage* frame = nullptr;        // kFrameWidth x kFrameHeight, what the main window shows
    DIBImage* fieldCanvas = nullptr;  // field-sized working picture
    DIBImage* field = nullptr;        // the background as loaded
    DIBImage* magnifier = nullptr;    // bitmap 126: picture over mask
    DIBImage* antSprites = nullptr;   // bitmap 107
    DIBImage* ball = nullptr;         // bitmap 108
    DIBImage* heart = nullptr;        // bitmap 115
    LensOverlay lensOverlay;          // the magnifier's rim inside the lens square

    FieldMask* mask = nullptr;    // one byte per field pixel: walkable, blocked, trail
    AntColony* ants = nullptr;    // fifty ants; the first never walks
    HeartList* hearts = nullptr;  // heart i belongs to ant i
};

// The one world of the process; its parts are made and freed as said above.
extern World TheWorld;

// Makes the seven images: the frame (32 bits) with the magnifier already laid into it where its
// mask is not white, the field canvas at 32 bits, the magnifier loaded, and the field, sprites,
// ball and heart empty for the simulation thread to load; and the rim's runs inside the lens
// square.
void CreateWorldImages();

// Creates an empty mask, colony and heart list (freeing any left from before).
void CreateWorld();
// Frees the colony, the hearts and the mask.
void DestroyWorld();

// Each thread calls this once when it will touch the images and the stray-ant record no more;
// the second call frees them (and nulls the pointers).
void ReleaseWorldLease();
// Gives both threads their lease again, for a new set of images (tests that run the thread more
// than once in one process).
void ResetWorldLease();
