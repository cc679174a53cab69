// Frame composition and field reload. The canvas is refreshed and drawn only inside the 200 x 200
// part in view; every sprite copy is cut to its destination, so no position can reach outside
// an image.
#include "simulation/LensRenderer.h"

#include <windows.h>

#include <cstring>
#include <memory>

#include "colony/SharedWorld.h"
#include "imaging/DIBImage.h"
#include "imaging/MessageSeam.h"
#include "imaging/PixelCopy.h"
#include "resources/ResourceIds.h"
#include "simulation/BackgroundLoader.h"
#include "simulation/FrameLock.h"
#include "simulation/GoalStamp.h"
#include "simulation/WorldImages.h"
#include "simulation/SharedState.h"
#include "simulation/SimulationWorld.h"
#include "simulation/WorldRules.h"

namespace {
constexpr int kView = WorldRules::kViewSide;
constexpr int kAntCell = 8;
constexpr int kSpriteSide = 16;  // ball and heart
constexpr int kFrameHeight = 360;
constexpr int kMinFieldSide = BackgroundLoader::kMinFieldSide;

bool ImagesReady() {
    return FrameImage != nullptr && FieldCanvas != nullptr && FieldImage != nullptr &&
           MagnifierImage != nullptr && AntSprites != nullptr && BallImage != nullptr &&
           HeartImage != nullptr && TheFieldMask != nullptr;
}

// The field, its canvas and its mask all have the size the ants walk on.
bool FieldConsistent(int w, int h) {
    return w >= kMinFieldSide && h >= kMinFieldSide && FieldImage->GetWidth() == w &&
           FieldImage->GetHeight() == h && FieldCanvas->GetWidth() == w &&
           FieldCanvas->GetHeight() == h && TheFieldMask->Width() == w &&
           TheFieldMask->Height() == h && FieldImage->GetBitCount() == 32 &&
           FieldCanvas->GetBitCount() == 32;
}

ViewOrigin CurrentView(int w, int h) {
    if (FollowBall != 0) {
        return WorldRules::FollowView(BallX, BallY, w, h);
    }
    return WorldRules::ClampView({ViewX, ViewY}, w, h);
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
        g_goalStamp.Stamp(*FieldCanvas, GoalX, GoalY);
        return;
    }
    MemoryDC* dc = FieldCanvas->GetMemoryDC();
    if (dc == nullptr) {
        return;
    }
    GoalStamp::Draw(*dc, GoalX, GoalY);
    // The pixel writes that follow must land after the ellipse.
    GdiFlush();
}

void DrawTrails(ViewOrigin view, int w) {
    const uint8_t* cells = TheFieldMask->Cells();
    for (int y = view.y; y < view.y + kView; ++y) {
        uint32_t* row = FieldCanvas->GetLine(y);
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
    if (Ants == nullptr) {
        return;
    }
    for (int32_t j = 0; j < Ants->Count(); ++j) {
        const Ant* ant = Ants->At(j);
        if (ant == nullptr || ant->active <= 0) {
            continue;
        }
        const int cellX = (ant->direction * 2 + ant->frame) * kAntCell;
        DrawSprite(FieldCanvas, ant->x - kAntCell / 2, ant->y - kAntCell / 2, kAntCell, kAntCell,
                   AntSprites, cellX, 0, cellX, kAntCell);
    }
}

void DrawHearts() {
    if (Hearts == nullptr) {
        return;
    }
    for (int32_t j = 0; j < Hearts->Count(); ++j) {
        const Heart* heart = Hearts->At(j);
        if (heart == nullptr || heart->visible == 0) {
            continue;
        }
        // A heart that rose on a larger field may stand outside this one: it is cut or skipped.
        DrawSprite(FieldCanvas, heart->x - kSpriteSide / 2, heart->y - kSpriteSide / 2, kSpriteSide,
                   kSpriteSide, HeartImage, 0, 0, 0, kSpriteSide);
    }
}

void AdvanceBall(int w, int h) {
    if (BallFlying == 0) {
        return;
    }
    BallFlight ball{BallX, BallY, BallSpeed, 1};
    WorldRules::FlyBall(ball, BallAngle, w, h);
    BallX = ball.x;
    BallY = ball.y;
    BallSpeed = ball.speed;
    BallFlying = ball.flying;
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
                      copy.my, kSpriteKey);
}

void AdvanceUnseenFrame() {
    if (BackgroundChanged != 0 || !ImagesReady()) {
        return;
    }
    const int w = FieldWidth;
    const int h = FieldHeight;
    if (FieldConsistent(w, h)) {
        AdvanceBall(w, h);
    }
}

void ComposeFrame() {
    if (BackgroundChanged != 0 || !ImagesReady()) {
        return;
    }
    const int w = FieldWidth;
    const int h = FieldHeight;
    if (!FieldConsistent(w, h)) {
        return;
    }
    const ViewOrigin view = CurrentView(w, h);
    FieldCanvas->DIBCopy(view.x, view.y, kView, kView, FieldImage, view.x, view.y);
    DrawGoal();
    DrawSprite(FieldCanvas, BallX - kSpriteSide / 2, BallY - kSpriteSide / 2, kSpriteSide,
               kSpriteSide, BallImage, 0, 0, 0, kSpriteSide);
    // While a thrown ball's rebuild waits, the trails in the mask are already history.
    if (HideTrails == 0 && MaskRebuildRequested == 0) {
        DrawTrails(view, w);
    }
    DrawAnts();
    DrawHearts();
    // The window thread paints from the frame whenever it likes (a notice, an expose). Under the
    // lock only the pixel kernels run: they raise no box (the window thread shows this thread's
    // boxes, and it may be waiting for the lock). The formats are checked before, with GDI's
    // drawing flushed into the pixels.
    if (FrameImage->GetBitCount() == 32 && MagnifierImage->GetBitCount() == 32 &&
        FieldCanvas->GetBitCount() == 32) {
        GdiFlush();
        const PixelSurface frame = FrameImage->GetSurface();
        const PixelSurface magnifier = MagnifierImage->GetSurface();
        const bool overlay = TheLensOverlay.Ready(MagnifierImage);
        const FrameLock lock;
        if (frame.width >= kLensLeft + kView && frame.height >= kLensTop + kView) {
            CopyPixelRows(frame, kLensLeft, kLensTop, kView, kView, FieldCanvas->GetSurface(),
                          view.x, view.y);
        }
        // The magnifier was laid into the whole frame when it was made; only the lens square was
        // overwritten since, and only there is the magnifier laid again (its rim reaches into
        // the square's corners).
        if (overlay) {
            TheLensOverlay.Apply(*FrameImage);
        } else {
            MaskCopyPixels(frame, kLensLeft, kLensTop, kView, kView, magnifier, kLensLeft, kLensTop,
                           magnifier, kLensLeft, kFrameHeight + kLensTop, kSpriteKey);
        }
    }
    AdvanceBall(w, h);
}

int ReloadBackground(const char* name) {
    if (name == nullptr || FieldImage == nullptr || FieldCanvas == nullptr) {
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
    FieldImage->SetWidth(w);
    FieldImage->SetHeight(h);
    FieldWidth = w;
    FieldHeight = h;
    delete TheFieldMask;
    TheFieldMask = mask.release();
    FieldImage->GetMemoryDC()->Blit(0, 0, w, h, picture.GetMemoryDC(), 0, 0);
    GdiFlush();
    FieldCanvas->SetWidth(w);
    FieldCanvas->SetHeight(h);
    FieldCanvas->DIBCopy(0, 0, w, h, FieldImage, 0, 0);
    WritePrivateProfileStringA("BackBitmapTexture", "FileName", name, SettingsPath);
    return 1;
}
