// The magnifier's rim where it reaches into the lens square, found once as runs of its opaque
// pixels and laid over every new frame, instead of testing the whole square's mask each frame.
#pragma once

#include <vector>

#include "base/TransparentRuns.h"

class DIBImage;

class LensOverlay {
  public:
    // The runs inside the square (left, top, side x side) of picture, whose mask lies maskRows
    // rows further down in the same image (white: not drawn). A picture that is not loaded gives
    // no runs, and Ready() stays false.
    void Build(const DIBImage* picture, int left, int top, int side, int maskRows);
    void Clear();
    // Built from the picture still in use.
    bool Ready(const DIBImage* picture) const { return picture != nullptr && picture == source_; }
    // Copies the picture's pixels of every run into frame, at the same places.
    void Apply(DIBImage& frame) const;

  private:
    std::vector<PixelRun> runs_;        // in the picture's (and the frame's) rows
    const DIBImage* source_ = nullptr;  // not owned
};
