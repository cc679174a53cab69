// Frame composition and field reload. The canvas is refreshed and drawn only inside the lens square
// in view; every sprite copy is cut to its destination, so no position can reach outside
// an image.
#include "simulation/LensRenderer.h"

#include <windows.h>

#include <cstring>
#include <memory>

#include "base/MessageSeam.h"
#include "base/PixelCopy.h"
#include "colony/SharedWorld.h"
#include "imaging/DIBImage.h"
#include "resources/ResourceIds.h"
#include "simulation/BackgroundLoader.h"
#include "simulation/FrameHandOff.h"
#include "simulation/GoalStamp.h"
#include "simulation/RunReports.h"
#include "simulation/World.h"
#include "simulation/SharedState.h"
#include "simulation/WorldRules.h"

namespace {
constexpr int kView = kLensSide;

bool ImagesReady(const World& world) {
    return world.frame != nullptr && world.fieldCanvas != nullptr && world.field != nullptr &&
           world.magnifier != nullptr && world.antSprites != nullptr && world.ball != nullptr &&
           world.heart != nullptr && world.mask != nullptr;
}

// The field, its canvas and its mask all have the size the ants walk on.
bool FieldConsistent(const World& world, int w, int h) {
    return w >= kMinFieldSide && h >= kMinFieldSide && world.field->GetWidth() == w &&
           world.field->GetHeight() == h && world.fieldCanvas->GetWidth() == w &&
           world.fieldCanvas->GetHeight() == h && world.mask->Width() == w &&
           world.mask->Height() == h && world.field->GetBitCount() == 32 &&
           world.fieldCanvas->GetBitCount() == 32;
}

ViewOrigin CurrentView(const SharedState& shared, int w, int h) {
    if (shared.followBall != 0) {
        return WorldRules::FollowView(shared.colony.ballX, shared.colony.ballY, w, h);
    }
    return WorldRules::ClampView({shared.viewX, shared.viewY}, w, h);
}

void DrawTrails(const World& world, ViewOrigin view, int w) {
    const uint8_t* cells = world.mask->Cells();
    for (int y = view.y; y < view.y + kView; ++y) {
        uint32_t* row = world.fieldCanvas->GetLine(y);
        const uint8_t* cellRow = cells + static_cast<size_t>(y) * w;
        for (int x = view.x; x < view.x + kView; ++x) {
            const uint8_t code = cellRow[x];
            if (code == CellTrail) {
                row[x] = kTrailColour;
            } else if (code == CellStrongTrail) {
                row[x] = kStrongTrailColour;
            }
        }
    }
}

void DrawAnts(const World& world) {
    if (world.ants == nullptr) {
        return;
    }
    for (int32_t j = 0; j < world.ants->Count(); ++j) {
        const Ant* ant = world.ants->At(j);
        if (ant == nullptr || ant->active <= 0) {
            continue;
        }
        const int cellX = (ant->direction * 2 + ant->frame) * kAntCell;
        DrawSprite(world.fieldCanvas, ant->x - kAntCell / 2, ant->y - kAntCell / 2, kAntCell,
                   kAntCell, world.antSprites, cellX, 0, cellX, kAntCell);
    }
}

void DrawHearts(const World& world) {
    if (world.hearts == nullptr) {
        return;
    }
    for (int32_t j = 0; j < world.hearts->Count(); ++j) {
        const Heart* heart = world.hearts->At(j);
        if (heart == nullptr || heart->visible == 0) {
            continue;
        }
        // A heart that rose on a larger field may stand outside this one: it is cut or skipped.
        DrawSprite(world.fieldCanvas, heart->x - kSpriteSide / 2, heart->y - kSpriteSide / 2,
                   kSpriteSide, kSpriteSide, world.heart, 0, 0, 0, kSpriteSide);
    }
}

bool InsideSheet(const DIBImage* sheet, int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && x + w <= sheet->GetWidth() && y + h <= sheet->GetHeight();
}

}  // namespace

void DrawSprite(DIBImage* dest, int dx, int dy, int w, int h, const DIBImage* sheet, int sx, int sy,
                int mx, int my) {
    if (dest == nullptr || sheet == nullptr) {
        return;
    }
    SpriteCopy copy{dx, dy, w, h, sx, sy, mx, my};
    if (!WorldRules::ClipToDestination(copy, dest->GetWidth(), dest->GetHeight())) {
        return;
    }
    if (!InsideSheet(sheet, copy.sx, copy.sy, copy.w, copy.h) ||
        !InsideSheet(sheet, copy.mx, copy.my, copy.w, copy.h)) {
        return;
    }
    dest->DIBMaskCopy(copy.dx, copy.dy, copy.w, copy.h, sheet, copy.sx, copy.sy, sheet, copy.mx,
                      copy.my, kMaskWhite);
}

void LensRenderer::DrawGoal() {
    if (!goalStampTried_) {
        goalStampTried_ = true;
        goalStamp_.Build();
    }
    if (goalStamp_.Ready()) {
        goalStamp_.Stamp(*world_.fieldCanvas, shared_.colony.goalX, shared_.colony.goalY);
        return;
    }
    MemoryDC* dc = world_.fieldCanvas->GetMemoryDC();
    if (dc == nullptr) {
        return;
    }
    GoalStamp::Draw(*dc, shared_.colony.goalX, shared_.colony.goalY);
    // The pixel writes that follow must land after the ellipse.
    GdiFlush();
}

void LensRenderer::AdvanceBall(int w, int h) {
    if (shared_.colony.ballFlying == 0) {
        return;
    }
    BallFlight ball{shared_.colony.ballX, shared_.colony.ballY, shared_.ballSpeed, 1};
    WorldRules::FlyBall(ball, shared_.ballAngle, w, h);
    shared_.colony.ballX = ball.x;
    shared_.colony.ballY = ball.y;
    shared_.ballSpeed = ball.speed;
    shared_.colony.ballFlying = ball.flying;
}

void LensRenderer::AdvanceUnseen() {
    if (shared_.backgroundChanged != 0 || !ImagesReady(world_)) {
        return;
    }
    const int w = shared_.colony.fieldWidth;
    const int h = shared_.colony.fieldHeight;
    if (FieldConsistent(world_, w, h)) {
        AdvanceBall(w, h);
    }
}

void LensRenderer::Compose() {
    if (shared_.backgroundChanged != 0 || !ImagesReady(world_)) {
        return;
    }
    const int w = shared_.colony.fieldWidth;
    const int h = shared_.colony.fieldHeight;
    if (!FieldConsistent(world_, w, h)) {
        return;
    }
    const ViewOrigin view = CurrentView(shared_, w, h);
    world_.fieldCanvas->DIBCopy(view.x, view.y, kView, kView, world_.field, view.x, view.y);
    DrawGoal();
    DrawSprite(world_.fieldCanvas, shared_.colony.ballX - kSpriteSide / 2,
               shared_.colony.ballY - kSpriteSide / 2, kSpriteSide, kSpriteSide, world_.ball, 0, 0,
               0, kSpriteSide);
    // While a thrown ball's rebuild waits, the trails in the mask are already history.
    if (shared_.hideTrails == 0 && shared_.maskRebuildRequested == 0) {
        DrawTrails(world_, view, w);
    }
    DrawAnts(world_);
    DrawHearts(world_);
    // The window thread paints from the frame whenever it likes (a notice, an expose). Under the
    // lock only the pixel kernels run: they raise no box (the window thread shows this thread's
    // boxes, and it may be waiting for the lock). The formats are checked before, with GDI's
    // drawing flushed into the pixels.
    if (world_.frame->GetBitCount() == 32 && world_.magnifier->GetBitCount() == 32 &&
        world_.fieldCanvas->GetBitCount() == 32) {
        GdiFlush();
        const PixelSurface frame = world_.frame->GetSurface();
        const PixelSurface magnifier = world_.magnifier->GetSurface();
        const bool overlay = world_.lensOverlay.Ready(world_.magnifier);
        const FrameLock lock(world_);
        if (frame.width >= kLensLeft + kView && frame.height >= kLensTop + kView) {
            CopyPixelRows(frame, kLensLeft, kLensTop, kView, kView,
                          world_.fieldCanvas->GetSurface(), view.x, view.y);
        }
        // The magnifier was laid into the whole frame when it was made; only the lens square was
        // overwritten since, and only there is the magnifier laid again (its rim reaches into
        // the square's corners).
        if (overlay) {
            world_.lensOverlay.Apply(*world_.frame);
        } else {
            MaskCopyPixels(frame, kLensLeft, kLensTop, kView, kView, magnifier, kLensLeft, kLensTop,
                           magnifier, kLensLeft, kFrameHeight + kLensTop, kMaskWhite);
        }
    }
    AdvanceBall(w, h);
}

int LensRenderer::ReloadBackground(const char* name, RunReports& reports) {
    if (name == nullptr || world_.field == nullptr || world_.fieldCanvas == nullptr) {
        return 0;
    }
    DIBImage picture;
    const BackgroundVerdict verdict = BackgroundLoader::Load(picture, name);
    if (verdict != BackgroundVerdict::Loaded) {
        BackgroundLoader::ReportTooSmall(verdict);
        return 0;
    }
    const int w = picture.GetWidth();
    const int h = picture.GetHeight();
    // The new mask first: a field too large for it leaves everything as it was.
    auto mask = std::make_unique<FieldMask>();
    if (!mask->Allocate(w, h)) {
        return 0;
    }
    BuildWalkMask(*mask);
    picture.ChangeBitCount(32);
    world_.field->SetWidth(w);
    world_.field->SetHeight(h);
    shared_.colony.fieldWidth = w;
    shared_.colony.fieldHeight = h;
    delete world_.mask;
    world_.mask = mask.release();
    world_.field->GetMemoryDC()->Blit(0, 0, w, h, picture.GetMemoryDC(), 0, 0);
    GdiFlush();
    world_.fieldCanvas->SetWidth(w);
    world_.fieldCanvas->SetHeight(h);
    world_.fieldCanvas->DIBCopy(0, 0, w, h, world_.field, 0, 0);
    reports.BackgroundReplaced(name);
    return 1;
}
