// The goal drawn once into a scratch image with GDI, kept as plain pixels (no GDI object stays
// alive), and copied where the goal stands.
#include "simulation/GoalStamp.h"

#include <windows.h>

#include "imaging/DIBImage.h"
#include "imaging/MemoryDC.h"
#include "imaging/SelectedGdiObject.h"
#include "simulation/LensRenderer.h"

bool GoalStamp::Draw(MemoryDC& dc, int gx, int gy) {
    dc.GetPen()->SetColor(kGoalRimColour);
    dc.GetPen()->SetWidth(kGoalRimWidth);
    dc.GetBrush()->SetColor(kGoalDiscColour);
    return dc.Ellipse(gx - kGoalRadius, gy - kGoalRadius, gx + kGoalRadius, gy + kGoalRadius) !=
           FALSE;
}

bool GoalStamp::Build() {
    pixels_.clear();
    DIBImage scratch;
    scratch.ChangeBitCount(32);
    scratch.SetWidth(kSide);
    scratch.SetHeight(kSide);
    MemoryDC* dc = scratch.GetMemoryDC();
    if (scratch.GetWidth() != kSide || scratch.GetHeight() != kSide || dc == nullptr) {
        return false;
    }
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            scratch.GetLine(y)[x] = kUnset;
        }
    }
    if (!Draw(*dc, kMargin + kGoalRadius, kMargin + kGoalRadius)) {
        return false;
    }
    GdiFlush();
    pixels_.resize(static_cast<size_t>(kSide) * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            pixels_[static_cast<size_t>(y) * kSide + x] = scratch.GetLine(y)[x] & 0xFFFFFFu;
        }
    }
    return true;
}

void GoalStamp::Stamp(DIBImage& canvas, int gx, int gy) const {
    if (!Ready() || canvas.GetBitCount() != 32) {
        return;
    }
    const int left = gx - kGoalRadius - kMargin;
    const int top = gy - kGoalRadius - kMargin;
    const int w = canvas.GetWidth();
    const int h = canvas.GetHeight();
    GdiFlush();
    for (int y = 0; y < kSide; ++y) {
        const int cy = top + y;
        if (cy < 0 || cy >= h) {
            continue;
        }
        uint32_t* row = canvas.GetLine(cy);
        const uint32_t* from = &pixels_[static_cast<size_t>(y) * kSide];
        for (int x = 0; x < kSide; ++x) {
            const int cx = left + x;
            if (cx >= 0 && cx < w && from[x] != kUnset) {
                row[cx] = from[x];
            }
        }
    }
}
