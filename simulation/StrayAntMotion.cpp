// The stray ant's walk and rise on the simulation thread. Each frame ends with one published pose
// and a coalesced WM_STRAYMOVED to the window thread, which places the windows.
#include "simulation/StrayAntMotion.h"

#include <windows.h>

#include "platform/ScreenInfo.h"
#include "simulation/FrameHandOff.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "platform/WindowMessages.h"

namespace {
CoalescedPost g_placement{WM_STRAYMOVED};

// The simulation thread's copy of the desktop, taken at the top of each stray-ant frame. A run
// driven without the shell (the simulation's own tests) has had nothing published and reads the
// monitors once itself.
const DesktopArea& Desktop() {
    if (!Shared.desktop.Published()) {
        Shared.desktop.Publish(ScreenInfo().Desktop(Shared.Scale().Up(kAntCell)));
    }
    return Shared.desktop.Current();
}

void Publish(const StrayAntPose& pose) {
    Shared.strayShown.Publish(pose);
    g_placement.Post(MainWindow);
}

void Publish(int32_t kind, int32_t cell, const StrayAnt& ant) {
    Publish(StrayAntPose{kind, cell, ant.x, ant.y});
}

int32_t CellOf(const StrayAnt& ant) {
    const int32_t cell = ant.Cell();
    return cell >= 0 && cell < kStrayAntCells ? cell : 0;
}
}  // namespace

void AcknowledgeStrayPlacement() {
    g_placement.Acknowledge();
}

void ReleaseStrayAnt() {
    StrayAnt* ant = Shared.strayRecord;
    if (ant == nullptr) {
        return;
    }
    // The count goes down before the flag shows: whoever sees the ant out sees it uncounted.
    Shared.happyCount.fetch_sub(1);
    Shared.strayAntActive = 1;
    Publish(StrayAntPose::Walking, CellOf(*ant), *ant);
}

void RiseStrayHeart() {
    StrayAnt* ant = Shared.strayRecord;
    if (ant == nullptr) {
        return;
    }
    ant->Step(Desktop());
    Publish(StrayAntPose::Heart, 0, *ant);
}

void UpdateStrayAnt() {
    StrayAnt* ant = Shared.strayRecord;
    if (ant == nullptr) {
        Shared.strayAntActive = 0;
        return;
    }
    // The click may turn a walking ant into a heart at any moment; the window thread drops a
    // walking pose that comes after it.
    switch (ant->state.load()) {
        case StrayWalking:
            ant->Step(Desktop());
            Publish(StrayAntPose::Walking, CellOf(*ant), *ant);
            break;
        case StrayRising:
            RiseStrayHeart();
            break;
        default:
            Publish(StrayAntPose{});
            Shared.strayAntActive = 0;
            break;
    }
}
