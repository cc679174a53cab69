// The simulation's world: the seven images, the magnifier's rim inside the lens, the stray-ant
// record, the field mask, the colony and the hearts. Its owner keeps it in static storage for
// the life of the process and hands it to both threads by reference. Who makes and frees each
// part:
//  - the images, the rim and the stray-ant record: the window thread makes the images and the
//    rim at the main window's creation (CreateImages) and the record once the windows exist; the
//    simulation thread loads, converts, resizes and draws into the images and moves the record.
//    Both threads hold a lease on them and the one that lets go second frees them, so neither
//    can touch a freed image whatever order the exit takes. The frame's pixels are shared under
//    the world's frame lock (FrameLock, FrameHandOff.h); the record by the rule in
//    SharedState.h.
//  - the mask, the colony and the hearts: the simulation thread's own, from its start-up
//    (CreateRunParts) to its teardown (DestroyRunParts); only it (or a test standing in for it)
//    touches them.
// Whatever is still held when the world itself goes is freed then.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "colony/AntColony.h"
#include "colony/FieldMask.h"
#include "imaging/DIBImage.h"
#include "simulation/HeartList.h"
#include "simulation/LensOverlay.h"
#include "simulation/StrayAnt.h"

class World {
  public:
    World() = default;
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Makes the seven images: the frame (32 bits) with the magnifier already laid into it where
    // its mask is not white, the field canvas at 32 bits, the magnifier loaded, and the field,
    // sprites, ball and heart empty for the simulation thread to load; and the rim's runs inside
    // the lens square.
    void CreateImages();

    // Creates an empty mask, colony and heart list (freeing any left from before).
    void CreateRunParts();
    // Frees the colony, the hearts and the mask.
    void DestroyRunParts();

    // Each thread calls this once when it will touch the images and the stray-ant record no
    // more; the second call frees them (and nulls the pointers).
    void ReleaseLease();
    // Gives both threads their lease again, for a new set of images (tests that run the thread
    // more than once on one world).
    void ResetLease();

    DIBImage* frame = nullptr;        // kFrameWidth x kFrameHeight, what the main window shows
    DIBImage* fieldCanvas = nullptr;  // field-sized working picture
    DIBImage* field = nullptr;        // the background as loaded
    DIBImage* magnifier = nullptr;    // bitmap 126: picture over mask
    DIBImage* antSprites = nullptr;   // bitmap 107
    DIBImage* ball = nullptr;         // bitmap 108
    DIBImage* heart = nullptr;        // bitmap 115
    LensOverlay lensOverlay;          // the magnifier's rim inside the lens square
    StrayAnt* strayRecord = nullptr;  // the ant that strays onto the desktop

    FieldMask* mask = nullptr;    // one byte per field pixel: walkable, blocked, trail
    AntColony* ants = nullptr;    // fifty ants; the first never walks
    HeartList* hearts = nullptr;  // heart i belongs to ant i

  private:
    friend class FrameLock;
    static constexpr int32_t kLeaseHolders = 2;  // the window thread and the simulation thread

    void FreeLeased();

    std::atomic<int32_t> leases_{kLeaseHolders};
    SRWLOCK frameLock_ = SRWLOCK_INIT;  // over frame's pixels, taken only through FrameLock
};
