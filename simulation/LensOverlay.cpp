// The rim's runs inside the lens square, and their copy into a frame.
#include "simulation/LensOverlay.h"

#include <cstring>

#include "base/Geometry.h"
#include "imaging/DIBImage.h"

void LensOverlay::Build(const DIBImage* picture, int left, int top, int side, int maskRows) {
    Clear();
    if (picture == nullptr || picture->GetBitCount() != 32 ||
        picture->GetHeight() < maskRows + top + side || picture->GetWidth() < left + side) {
        return;
    }
    GdiFlush();
    runs_ = FindOpaqueRuns(picture->GetSurface(), left, maskRows + top, side, side, kMaskWhite);
    for (PixelRun& run : runs_) {
        run.row -= maskRows;
    }
    source_ = picture;
}

void LensOverlay::Clear() {
    runs_.clear();
    source_ = nullptr;
}

void LensOverlay::Apply(DIBImage& frame) const {
    if (source_ == nullptr || frame.GetBitCount() != 32) {
        return;
    }
    GdiFlush();
    for (const PixelRun& run : runs_) {
        if (run.row >= frame.GetHeight() || run.end > frame.GetWidth()) {
            continue;
        }
        std::memcpy(frame.GetLine(run.row) + run.start, source_->GetLine(run.row) + run.start,
                    static_cast<size_t>(run.end - run.start) * sizeof(uint32_t));
    }
}
