// The stray ant's walk and rise on the simulation thread. Each frame ends with one published pose
// and a coalesced WM_STRAYMOVED to the window thread, which places the windows.
#include "simulation/StrayAntMotion.h"

#include "platform/ScreenInfo.h"
#include "platform/WindowMessages.h"
#include "simulation/FrameHandOff.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"

namespace {
int32_t CellOf(const StrayAnt& ant) {
    const int32_t cell = ant.Cell();
    return cell >= 0 && cell < kStrayAntCells ? cell : 0;
}
}  // namespace

// The simulation thread's copy of the desktop, taken at the top of each stray-ant frame. A run
// driven without the shell (the simulation's own tests) has had nothing published and reads the
// monitors once itself.
const DesktopArea& StrayAntMotion::Desktop() {
    if (!shared_.desktop.Published()) {
        shared_.desktop.Publish(ScreenInfo().Desktop(shared_.Scale().Up(kAntCell)));
    }
    return shared_.desktop.Current();
}

void StrayAntMotion::Publish(const StrayAntPose& pose) {
    shared_.strayShown.Publish(pose);
    PostCoalesced(shared_.strayPlacement, mainWindow_, WM_STRAYMOVED);
}

void StrayAntMotion::Publish(int32_t kind, int32_t cell, const StrayAnt& ant) {
    Publish(StrayAntPose{kind, cell, ant.x, ant.y});
}

void StrayAntMotion::Release() {
    StrayAnt* ant = world_.strayRecord;
    if (ant == nullptr) {
        return;
    }
    // The count goes down before the flag shows: whoever sees the ant out sees it uncounted.
    shared_.happyCount.fetch_sub(1);
    shared_.strayAntActive = 1;
    Publish(StrayAntPose::Walking, CellOf(*ant), *ant);
}

void StrayAntMotion::RiseHeart() {
    StrayAnt* ant = world_.strayRecord;
    if (ant == nullptr) {
        return;
    }
    ant->Step(Desktop(), shared_.colony.random);
    Publish(StrayAntPose::Heart, 0, *ant);
}

void StrayAntMotion::Update() {
    StrayAnt* ant = world_.strayRecord;
    if (ant == nullptr) {
        shared_.strayAntActive = 0;
        return;
    }
    // The click may turn a walking ant into a heart at any moment; the window thread drops a
    // walking pose that comes after it.
    switch (ant->state.load()) {
        case StrayWalking:
            ant->Step(Desktop(), shared_.colony.random);
            Publish(StrayAntPose::Walking, CellOf(*ant), *ant);
            break;
        case StrayRising:
            RiseHeart();
            break;
        default:
            Publish(StrayAntPose{});
            shared_.strayAntActive = 0;
            break;
    }
}
