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

bool ImagesReady() {
    return TheWorld.frame != nullptr && TheWorld.fieldCanvas != nullptr &&
           TheWorld.field != nullptr && TheWorld.magnifier != nullptr &&
           TheWorld.antSprites != nullptr && TheWorld.ball != nullptr &&
           TheWorld.heart != nullptr && TheWorld.mask != nullptr;
}

// The field, its canvas and its mask all have the size the ants walk on.
bool FieldConsistent(int w, int h) {
    return w >= kMinFieldSide && h >= kMinFieldSide && TheWorld.field->GetWidth() == w &&
           TheWorld.field->GetHeight() == h && TheWorld.fieldCanvas->GetWidth() == w &&
           TheWorld.fieldCanvas->GetHeight() == h && TheWorld.mask->Width() == w &&
           TheWorld.mask->Height() == h && TheWorld.field->GetBitCount() == 32 &&
           TheWorld.fieldCanvas->GetBitCount() == 32;
}

ViewOrigin CurrentView(int w, int h) {
    if (Shared.followBall != 0) {
        return WorldRules::FollowView(Shared.colony.ballX, Shared.colony.ballY, w, h);
    }
    return WorldRules::ClampView({Shared.viewX, Shared.viewY}, w, h);
}

// The goal as GDI draws it, made once (the wide-pen ellipse costs more than the rest of a frame's
// drawing) and copied where the goal stands; drawn directly should the stamp not be made.
GoalStamp g_goalStamp;
bool g_goalStampTried = false;

void DrawGoal() {
    if (!g_goalStampTried) {
        g_goalStampTried = true;
        g_goalStamp.Build();
    }
    if (g_goalStamp.Ready()) {
        g_goalStamp.Stamp(*TheWorld.fieldCanvas, Shared.colony.goalX, Shared.colony.goalY);
        return;
    }
    MemoryDC* dc = TheWorld.fieldCanvas->GetMemoryDC();
    if (dc == nullptr) {
        return;
    }
    GoalStamp::Draw(*dc, Shared.colony.goalX, Shared.colony.goalY);
    // The pixel writes that follow must land after the ellipse.
    GdiFlush();
}

void DrawTrails(ViewOrigin view, int w) {
    const uint8_t* cells = TheWorld.mask->Cells();
    for (int y = view.y; y < view.y + kView; ++y) {
        uint32_t* row = TheWorld.fieldCanvas->GetLine(y);
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

void DrawAnts() {
    if (TheWorld.ants == nullptr) {
        return;
    }
    for (int32_t j = 0; j < TheWorld.ants->Count(); ++j) {
        const Ant* ant = TheWorld.ants->At(j);
        if (ant == nullptr || ant->active <= 0) {
            continue;
        }
        const int cellX = (ant->direction * 2 + ant->frame) * kAntCell;
        DrawSprite(TheWorld.fieldCanvas, ant->x - kAntCell / 2, ant->y - kAntCell / 2, kAntCell,
                   kAntCell, TheWorld.antSprites, cellX, 0, cellX, kAntCell);
    }
}

void DrawHearts() {
    if (TheWorld.hearts == nullptr) {
        return;
    }
    for (int32_t j = 0; j < TheWorld.hearts->Count(); ++j) {
        const Heart* heart = TheWorld.hearts->At(j);
        if (heart == nullptr || heart->visible == 0) {
            continue;
        }
        // A heart that rose on a larger field may stand outside this one: it is cut or skipped.
        DrawSprite(TheWorld.fieldCanvas, heart->x - kSpriteSide / 2, heart->y - kSpriteSide / 2,
                   kSpriteSide, kSpriteSide, TheWorld.heart, 0, 0, 0, kSpriteSide);
    }
}

void AdvanceBall(int w, int h) {
    if (Shared.colony.ballFlying == 0) {
        return;
    }
    BallFlight ball{Shared.colony.ballX, Shared.colony.ballY, Shared.ballSpeed, 1};
    WorldRules::FlyBall(ball, Shared.ballAngle, w, h);
    Shared.colony.ballX = ball.x;
    Shared.colony.ballY = ball.y;
    Shared.ballSpeed = ball.speed;
    Shared.colony.ballFlying = ball.flying;
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

void AdvanceUnseenFrame() {
    if (Shared.backgroundChanged != 0 || !ImagesReady()) {
        return;
    }
    const int w = Shared.colony.fieldWidth;
    const int h = Shared.colony.fieldHeight;
    if (FieldConsistent(w, h)) {
        AdvanceBall(w, h);
    }
}

void ComposeFrame() {
    if (Shared.backgroundChanged != 0 || !ImagesReady()) {
        return;
    }
    const int w = Shared.colony.fieldWidth;
    const int h = Shared.colony.fieldHeight;
    if (!FieldConsistent(w, h)) {
        return;
    }
    const ViewOrigin view = CurrentView(w, h);
    TheWorld.fieldCanvas->DIBCopy(view.x, view.y, kView, kView, TheWorld.field, view.x, view.y);
    DrawGoal();
    DrawSprite(TheWorld.fieldCanvas, Shared.colony.ballX - kSpriteSide / 2,
               Shared.colony.ballY - kSpriteSide / 2, kSpriteSide, kSpriteSide, TheWorld.ball, 0, 0,
               0, kSpriteSide);
    // While a thrown ball's rebuild waits, the trails in the mask are already history.
    if (Shared.hideTrails == 0 && Shared.maskRebuildRequested == 0) {
        DrawTrails(view, w);
    }
    DrawAnts();
    DrawHearts();
    // The window thread paints from the frame whenever it likes (a notice, an expose). Under the
    // lock only the pixel kernels run: they raise no box (the window thread shows this thread's
    // boxes, and it may be waiting for the lock). The formats are checked before, with GDI's
    // drawing flushed into the pixels.
    if (TheWorld.frame->GetBitCount() == 32 && TheWorld.magnifier->GetBitCount() == 32 &&
        TheWorld.fieldCanvas->GetBitCount() == 32) {
        GdiFlush();
        const PixelSurface frame = TheWorld.frame->GetSurface();
        const PixelSurface magnifier = TheWorld.magnifier->GetSurface();
        const bool overlay = TheWorld.lensOverlay.Ready(TheWorld.magnifier);
        const FrameLock lock;
        if (frame.width >= kLensLeft + kView && frame.height >= kLensTop + kView) {
            CopyPixelRows(frame, kLensLeft, kLensTop, kView, kView,
                          TheWorld.fieldCanvas->GetSurface(), view.x, view.y);
        }
        // The magnifier was laid into the whole frame when it was made; only the lens square was
        // overwritten since, and only there is the magnifier laid again (its rim reaches into
        // the square's corners).
        if (overlay) {
            TheWorld.lensOverlay.Apply(*TheWorld.frame);
        } else {
            MaskCopyPixels(frame, kLensLeft, kLensTop, kView, kView, magnifier, kLensLeft, kLensTop,
                           magnifier, kLensLeft, kFrameHeight + kLensTop, kMaskWhite);
        }
    }
    AdvanceBall(w, h);
}

int ReloadBackground(const char* name, RunReports& reports) {
    if (name == nullptr || TheWorld.field == nullptr || TheWorld.fieldCanvas == nullptr) {
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
    TheWorld.field->SetWidth(w);
    TheWorld.field->SetHeight(h);
    Shared.colony.fieldWidth = w;
    Shared.colony.fieldHeight = h;
    delete TheWorld.mask;
    TheWorld.mask = mask.release();
    TheWorld.field->GetMemoryDC()->Blit(0, 0, w, h, picture.GetMemoryDC(), 0, 0);
    GdiFlush();
    TheWorld.fieldCanvas->SetWidth(w);
    TheWorld.fieldCanvas->SetHeight(h);
    TheWorld.fieldCanvas->DIBCopy(0, 0, w, h, TheWorld.field, 0, 0);
    reports.BackgroundReplaced(name);
    return 1;
}
