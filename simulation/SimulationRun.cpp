// The simulation thread's run. The world's run parts live here from start-up to teardown; the
// window thread only sets flags that a frame reads once, and receives the two messages this run
// sends.
#include "simulation/SimulationRun.h"

#include <cstring>
#include <ctime>

#include "base/Geometry.h"
#include "base/MessageSeam.h"
#include "colony/AntColony.h"
#include "colony/ColonyStepper.h"
#include "colony/FieldMask.h"
#include "colony/SharedWorld.h"
#include "imaging/DIBImage.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "resources/TextIds.h"
#include "simulation/BackgroundLoader.h"
#include "simulation/FrameHandOff.h"
#include "simulation/HeartList.h"
#include "simulation/Keyboard.h"
#include "simulation/LensRenderer.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"
#include "simulation/StrayAntMotion.h"
#include "simulation/WorldRules.h"

namespace {
constexpr int kSpriteDepth = 32;

void LoadSprite(DIBImage* image, int id) {
    if (image != nullptr) {
        image->LoadBitmapResource(MAKEINTRESOURCEA(id));
        image->ChangeBitCount(kSpriteDepth);
    }
}

}  // namespace

void RepaintLens(SharedState& shared, HWND window) {
    PostCoalesced(shared.frameNotice, window, WM_FRAMEREADY);
}

void PaceFrame(const SharedState& shared, DWORD frameStart) {
    Sleep(kFrameSleepMs);
    const uint32_t minimum =
        shared.frameWaitMs.load() > 0 ? static_cast<uint32_t>(shared.frameWaitMs.load()) : 0;
    const uint32_t remaining = WorldRules::RemainingWait(GetTickCount(), frameStart, minimum);
    if (remaining > 0) {
        Sleep(remaining);
    }
}

void SimulationRun::PlaceGoal() {
    int32_t gx = 0;
    int32_t gy = 0;
    WorldRules::PlaceGoal(shared_.colony.random, world_.fieldCanvas->GetWidth(),
                          world_.fieldCanvas->GetHeight(), gx, gy);
    shared_.colony.goalX = gx;
    shared_.colony.goalY = gy;
}

SimulationRun::SimulationRun(const SimulationLinks& links)
    : world_(links.world),
      shared_(links.shared),
      mainWindow_(links.mainWindow),
      reports_(links.reports),
      lens_(links.world, links.shared),
      stray_(links.world, links.shared, links.mainWindow) {}

DWORD SimulationRun::Execute() {
    StartUp();
    if (shared_.running != 0) {
        while (RunFrame()) {
        }
    }
    Teardown();
    return 0;
}

void SimulationRun::LoadStartupField() {
    char name[kPathBytes] = {};
    shared_.GetBackgroundFileName(name);
    // The same checks as a drop: a picture the ants could not walk on counts as unreadable.
    if (BackgroundLoader::Load(*world_.field, name) != BackgroundVerdict::Loaded) {
        ShowProgramMessage(IDS_BACKGROUND_RESET, IDS_BACKGROUND_RESET_CAPTION, mb::kIconWarning);
        world_.field->LoadBitmapResource(MAKEINTRESOURCEA(IDB_FIELD));
        reports_.BackgroundReplaced(kBuiltInBackground);
    }
    world_.field->ChangeBitCount(kSpriteDepth);
    shared_.colony.fieldWidth = world_.field->GetWidth();
    shared_.colony.fieldHeight = world_.field->GetHeight();
}

void SimulationRun::StartUp() {
    world_.CreateRunParts();
    LoadStartupField();
    world_.mask->Allocate(shared_.colony.fieldWidth, shared_.colony.fieldHeight);
    world_.fieldCanvas->SetWidth(shared_.colony.fieldWidth);
    world_.fieldCanvas->SetHeight(shared_.colony.fieldHeight);
    LoadSprite(world_.antSprites, IDB_ANTS);
    LoadSprite(world_.ball, IDB_BALL);
    LoadSprite(world_.heart, IDB_HEART);
    shared_.happyCount = 0;
    shared_.strayAntActive = 0;
    runStart_ = GetTickCount();
    strayGate_ = StrayAntGate(runStart_, shared_.timings.strayDelayMs, shared_.timings.strayOneIn);
    shared_.colony.random.Seed(static_cast<uint32_t>(std::time(nullptr)));
    BuildWalkMask(*world_.mask);
    PlaceGoal();
    int32_t bx = 0;
    int32_t by = 0;
    WorldRules::PlaceBall(shared_.colony.random, bx, by);
    shared_.colony.ballX = bx;
    shared_.colony.ballY = by;
    // The ants are added before the hearts and activated after them; neither the hearts nor
    // the colony's arrivalSeen draw a random number, so building the colony in one go keeps every
    // draw.
    world_.hearts->Clear();
    for (int32_t i = 0; i < kColonySize; ++i) {
        world_.hearts->Add();
    }
    shared_.colony.arrivalSeen = 0;
    BuildColony(*world_.ants, shared_.colony, world_.fieldCanvas->GetWidth(),
                world_.fieldCanvas->GetHeight());
}

bool SimulationRun::ExitChosen() const {
    return shared_.exitRequested != 0 || shared_.running == 0;
}

void SimulationRun::ApplyBackgroundChange() {
    char name[kPathBytes] = {};
    if (!shared_.TakeBackgroundRequest(name)) {
        return;
    }
    // A failed reload keeps the old field; the pull-in, the new goal and the clamps run anyway.
    lens_.ReloadBackground(name, reports_);
    const int32_t w = shared_.colony.fieldWidth;
    const int32_t h = shared_.colony.fieldHeight;
    if (world_.ants != nullptr) {
        ColonyStepper::PullInside(*world_.ants, w, h);
    }
    PlaceGoal();
    int32_t bx = shared_.colony.ballX;
    int32_t by = shared_.colony.ballY;
    WorldRules::ClampBall(bx, by, w, h);
    shared_.colony.ballX = bx;
    shared_.colony.ballY = by;
    const ViewOrigin view = WorldRules::ClampView({shared_.viewX, shared_.viewY}, w, h);
    shared_.viewX = view.x;
    shared_.viewY = view.y;
}

void SimulationRun::StepAnts() {
    ColonyStepper::StepFrame(*world_.ants, *world_.mask, &shared_.backgroundChanged,
                             [this](int32_t index, Ant& ant) {
                                 Heart* heart = world_.hearts->At(index);
                                 if (heart != nullptr) {
                                     heart->x = ant.x;
                                     heart->y = ant.y;
                                     heart->visible = 1;
                                 }
                                 shared_.happyCount.fetch_add(1);
                             });
}

void SimulationRun::MoveStrayAnt(DWORD now) {
    if (shared_.strayAntActive != 0) {
        stray_.Update();
    }
    if (shared_.strayAntActive == 0 &&
        strayGate_.Opens(now, shared_.shellReady != 0, shared_.colony.random)) {
        stray_.Release();
    }
}

bool SimulationRun::DrawFrame() {
    // A hidden magnifier shows nothing, and nothing is drawn for it: showing it again paints the
    // last frame drawn, and the next frame is drawn as usual. The first frame is drawn for the
    // magnifier that shows when the splash goes.
    if (shared_.splashDone == 0 || IsWindowVisible(mainWindow_)) {
        lens_.Compose();
        return true;
    }
    lens_.AdvanceUnseen();
    return false;
}

void SimulationRun::ShowFrame() {
    if (DrawFrame()) {
        RepaintLens(shared_, mainWindow_);
    }
}

bool SimulationRun::SplashPause() {
    const DWORD start = GetTickCount();
    while (!ExitChosen()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= shared_.timings.splashPauseMs) {
            return true;
        }
        const DWORD left = shared_.timings.splashPauseMs - elapsed;
        Sleep(left < kPauseSliceMs ? left : kPauseSliceMs);
    }
    return false;
}

bool SimulationRun::RunFrame() {
    const DWORD frameStart = GetTickCount();
    if (PollKeyboard(shared_) == kKeyEscape || shared_.exitRequested != 0) {
        return false;
    }
    // The ball was let go: its trails go, here, where no step can be under way.
    if (shared_.maskRebuildRequested.exchange(0) != 0) {
        BuildWalkMask(*world_.mask);
        shared_.colony.arrivalSeen = 0;
    }
    if (shared_.backgroundChanged != 0) {
        ApplyBackgroundChange();
    }
    StepAnts();
    if (shared_.backgroundChanged == 0) {
        world_.hearts->Animate();
    }
    // The stray ant moves after the lens is composed (composing draws no random number, so every
    // draw stays in its order): its placement and the new lens then reach the window thread
    // together, and it wakes once a frame instead of twice.
    const bool drawn = DrawFrame();
    MoveStrayAnt(GetTickCount());
    if (drawn) {
        RepaintLens(shared_, mainWindow_);
    }
    if (shared_.splashDone == 0) {
        if (!SplashPause()) {
            return false;
        }
        // The window thread closes the splash and shows the magnifier, as the owner of both.
        SendMessageA(mainWindow_, WM_SPLASHEND, 0, 0);
        if (ExitChosen()) {
            return false;
        }
        shared_.splashDone = 1;
    }
    if (shared_.happyCount >= world_.ants->Count() - 1) {
        Ending();
        return false;
    }
    PaceFrame(shared_, frameStart);
    return shared_.running != 0;
}

void SimulationRun::Ending() {
    const DWORD t0 = GetTickCount();
    while (GetTickCount() - t0 < shared_.timings.endingMs) {
        // Exit during the closing seconds ends them, and no thank-you box follows the Exit.
        if (ExitChosen()) {
            return;
        }
        const DWORD passStart = GetTickCount();
        if (shared_.strayAntActive != 0) {
            stray_.RiseHeart();
        } else {
            world_.hearts->Animate();
            ShowFrame();
        }
        PaceFrame(shared_, passStart);
    }
    if (ExitChosen()) {
        return;
    }
    RaiseMessage({IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, mb::kOk, MessageOwner::NoOwner, nullptr});
}

void SimulationRun::Teardown() {
    world_.DestroyRunParts();
    // After a box of its own returned, the user may have chosen Exit meanwhile: then the exit is
    // under way already and is not asked for again.
    if (shared_.exitRequested == 0) {
        reports_.RunEnded();
    }
    world_.ReleaseLease();
}

DWORD WINAPI SimulationThreadProc(LPVOID links) {
    SimulationRun run(*static_cast<const SimulationLinks*>(links));
    return run.Execute();
}
