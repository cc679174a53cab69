// The simulation thread's run. The world lives here from start-up to teardown; the window thread
// only sets flags that a frame reads once, and receives the two messages this run sends.
#include "simulation/SimulationRun.h"

#include <cstring>
#include <ctime>

#include "base/Geometry.h"
#include "base/MessageSeam.h"
#include "colony/AntColony.h"
#include "colony/ColonyStepper.h"
#include "colony/FieldMask.h"
#include "colony/Random.h"
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
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"
#include "simulation/StrayAntMotion.h"
#include "simulation/WorldRules.h"

// The main window: the window thread sets it as the window is created; this thread only reads it.
HWND MainWindow = nullptr;

namespace {
constexpr int kSpriteDepth = 32;

void LoadSprite(DIBImage* image, int id) {
    if (image != nullptr) {
        image->LoadBitmapResource(MAKEINTRESOURCEA(id));
        image->ChangeBitCount(kSpriteDepth);
    }
}

void PlaceGoal() {
    int32_t gx = 0;
    int32_t gy = 0;
    WorldRules::PlaceGoal(TheWorld.fieldCanvas->GetWidth(), TheWorld.fieldCanvas->GetHeight(), gx,
                          gy);
    Shared.colony.goalX = gx;
    Shared.colony.goalY = gy;
}

}  // namespace

void RepaintLens(HWND window) {
    PostFrameNotice(window);
}

void PaceFrame(DWORD frameStart) {
    Sleep(kFrameSleepMs);
    const uint32_t minimum =
        Shared.frameWaitMs.load() > 0 ? static_cast<uint32_t>(Shared.frameWaitMs.load()) : 0;
    const uint32_t remaining = WorldRules::RemainingWait(GetTickCount(), frameStart, minimum);
    if (remaining > 0) {
        Sleep(remaining);
    }
}

SimulationRun::SimulationRun(HWND mainWindow, RunReports& reports)
    : mainWindow_(mainWindow), reports_(reports) {}

DWORD SimulationRun::Execute() {
    StartUp();
    if (Shared.running != 0) {
        while (RunFrame()) {
        }
    }
    Teardown();
    return 0;
}

void SimulationRun::LoadStartupField() {
    char name[kPathBytes] = {};
    Shared.GetBackgroundFileName(name);
    // The same checks as a drop: a picture the ants could not walk on counts as unreadable.
    if (BackgroundLoader::Load(*TheWorld.field, name) != BackgroundVerdict::Loaded) {
        ShowProgramMessage(IDS_BACKGROUND_RESET, IDS_BACKGROUND_RESET_CAPTION, mb::kIconWarning);
        TheWorld.field->LoadBitmapResource(MAKEINTRESOURCEA(IDB_FIELD));
        reports_.BackgroundReplaced(kBuiltInBackground);
    }
    TheWorld.field->ChangeBitCount(kSpriteDepth);
    Shared.colony.fieldWidth = TheWorld.field->GetWidth();
    Shared.colony.fieldHeight = TheWorld.field->GetHeight();
}

void SimulationRun::StartUp() {
    CreateWorld();
    LoadStartupField();
    TheWorld.mask->Allocate(Shared.colony.fieldWidth, Shared.colony.fieldHeight);
    TheWorld.fieldCanvas->SetWidth(Shared.colony.fieldWidth);
    TheWorld.fieldCanvas->SetHeight(Shared.colony.fieldHeight);
    LoadSprite(TheWorld.antSprites, IDB_ANTS);
    LoadSprite(TheWorld.ball, IDB_BALL);
    LoadSprite(TheWorld.heart, IDB_HEART);
    Shared.happyCount = 0;
    Shared.strayAntActive = 0;
    runStart_ = GetTickCount();
    strayGate_ = StrayAntGate(runStart_, Shared.timings.strayDelayMs, Shared.timings.strayOneIn);
    SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
    BuildWalkMask(*TheWorld.mask);
    PlaceGoal();
    int32_t bx = 0;
    int32_t by = 0;
    WorldRules::PlaceBall(bx, by);
    Shared.colony.ballX = bx;
    Shared.colony.ballY = by;
    // The ants are added before the hearts and activated after them; neither the hearts nor
    // Shared.colony.arrivalSeen draw a random number, so building the colony in one go keeps every
    // draw.
    TheWorld.hearts->Clear();
    for (int32_t i = 0; i < kColonySize; ++i) {
        TheWorld.hearts->Add();
    }
    Shared.colony.arrivalSeen = 0;
    BuildColony(*TheWorld.ants, Shared.colony, TheWorld.fieldCanvas->GetWidth(),
                TheWorld.fieldCanvas->GetHeight());
}

bool SimulationRun::ExitChosen() const {
    return Shared.exitRequested != 0 || Shared.running == 0;
}

void SimulationRun::ApplyBackgroundChange() {
    char name[kPathBytes] = {};
    if (!Shared.TakeBackgroundRequest(name)) {
        return;
    }
    // A failed reload keeps the old field; the pull-in, the new goal and the clamps run anyway.
    ReloadBackground(name, reports_);
    const int32_t w = Shared.colony.fieldWidth;
    const int32_t h = Shared.colony.fieldHeight;
    if (TheWorld.ants != nullptr) {
        ColonyStepper::PullInside(*TheWorld.ants, w, h);
    }
    PlaceGoal();
    int32_t bx = Shared.colony.ballX;
    int32_t by = Shared.colony.ballY;
    WorldRules::ClampBall(bx, by, w, h);
    Shared.colony.ballX = bx;
    Shared.colony.ballY = by;
    const ViewOrigin view = WorldRules::ClampView({Shared.viewX, Shared.viewY}, w, h);
    Shared.viewX = view.x;
    Shared.viewY = view.y;
}

void SimulationRun::StepAnts() {
    ColonyStepper::StepFrame(*TheWorld.ants, *TheWorld.mask, &Shared.backgroundChanged,
                             [](int32_t index, Ant& ant) {
                                 Heart* heart = TheWorld.hearts->At(index);
                                 if (heart != nullptr) {
                                     heart->x = ant.x;
                                     heart->y = ant.y;
                                     heart->visible = 1;
                                 }
                                 Shared.happyCount.fetch_add(1);
                             });
}

void SimulationRun::MoveStrayAnt(DWORD now) {
    if (Shared.strayAntActive != 0) {
        UpdateStrayAnt();
    }
    if (Shared.strayAntActive == 0 && strayGate_.Opens(now, Shared.shellReady != 0)) {
        ReleaseStrayAnt();
    }
}

bool SimulationRun::DrawFrame() {
    // A hidden magnifier shows nothing, and nothing is drawn for it: showing it again paints the
    // last frame drawn, and the next frame is drawn as usual. The first frame is drawn for the
    // magnifier that shows when the splash goes.
    if (Shared.splashDone == 0 || IsWindowVisible(mainWindow_)) {
        ComposeFrame();
        return true;
    }
    AdvanceUnseenFrame();
    return false;
}

void SimulationRun::ShowFrame() {
    if (DrawFrame()) {
        RepaintLens(mainWindow_);
    }
}

bool SimulationRun::SplashPause() {
    const DWORD start = GetTickCount();
    while (!ExitChosen()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= Shared.timings.splashPauseMs) {
            return true;
        }
        const DWORD left = Shared.timings.splashPauseMs - elapsed;
        Sleep(left < kPauseSliceMs ? left : kPauseSliceMs);
    }
    return false;
}

bool SimulationRun::RunFrame() {
    const DWORD frameStart = GetTickCount();
    if (PollKeyboard() == kKeyEscape || Shared.exitRequested != 0) {
        return false;
    }
    // The ball was let go: its trails go, here, where no step can be under way.
    if (Shared.maskRebuildRequested.exchange(0) != 0) {
        BuildWalkMask(*TheWorld.mask);
        Shared.colony.arrivalSeen = 0;
    }
    if (Shared.backgroundChanged != 0) {
        ApplyBackgroundChange();
    }
    StepAnts();
    if (Shared.backgroundChanged == 0) {
        TheWorld.hearts->Animate();
    }
    // The stray ant moves after the lens is composed (composing draws no random number, so every
    // draw stays in its order): its placement and the new lens then reach the window thread
    // together, and it wakes once a frame instead of twice.
    const bool drawn = DrawFrame();
    MoveStrayAnt(GetTickCount());
    if (drawn) {
        RepaintLens(mainWindow_);
    }
    if (Shared.splashDone == 0) {
        if (!SplashPause()) {
            return false;
        }
        // The window thread closes the splash and shows the magnifier, as the owner of both.
        SendMessageA(mainWindow_, WM_SPLASHEND, 0, 0);
        if (ExitChosen()) {
            return false;
        }
        Shared.splashDone = 1;
    }
    if (Shared.happyCount >= TheWorld.ants->Count() - 1) {
        Ending();
        return false;
    }
    PaceFrame(frameStart);
    return Shared.running != 0;
}

void SimulationRun::Ending() {
    const DWORD t0 = GetTickCount();
    while (GetTickCount() - t0 < Shared.timings.endingMs) {
        // Exit during the closing seconds ends them, and no thank-you box follows the Exit.
        if (ExitChosen()) {
            return;
        }
        const DWORD passStart = GetTickCount();
        if (Shared.strayAntActive != 0) {
            RiseStrayHeart();
        } else {
            TheWorld.hearts->Animate();
            ShowFrame();
        }
        PaceFrame(passStart);
    }
    if (ExitChosen()) {
        return;
    }
    RaiseMessage({IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, mb::kOk, MessageOwner::NoOwner, nullptr});
}

void SimulationRun::Teardown() {
    DestroyWorld();
    // After a box of its own returned, the user may have chosen Exit meanwhile: then the exit is
    // under way already and is not asked for again.
    if (Shared.exitRequested == 0) {
        reports_.RunEnded();
    }
    ReleaseWorldLease();
}

DWORD WINAPI SimulationThreadProc(LPVOID reports) {
    SimulationRun run(MainWindow, *static_cast<RunReports*>(reports));
    return run.Execute();
}
