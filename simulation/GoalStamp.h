// The goal disc, drawn once by GDI (a black disc with a 3-pixel light grey rim) and then copied
// into each frame where the goal is: the wide-pen ellipse is the dearest single call of a frame.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Geometry.h"

class DIBImage;
class MemoryDC;

class GoalStamp {
  public:
    // The goal as GDI draws it around (gx, gy) into dc: the ellipse with the rim pen and the
    // disc brush. False when GDI could not.
    static bool Draw(MemoryDC& dc, int gx, int gy);
    // Draws the goal into the stamp. False when GDI could not (the goal is then drawn directly).
    bool Build();
    bool Ready() const { return !pixels_.empty(); }
    // Copies the stamp's drawn pixels into canvas, centred at (gx, gy) and cut to the canvas:
    // the pixels Ellipse(gx - r, gy - r, gx + r, gy + r) would have set there.
    void Stamp(DIBImage& canvas, int gx, int gy) const;

  private:
    static constexpr int kMargin = 4;  // the wide pen reaches a pixel or two outside the box
    static constexpr int kSide = 2 * kGoalRadius + 2 * kMargin;
    static constexpr uint32_t kUnset = 0xFF00FF;  // a colour the goal never has

    std::vector<uint32_t> pixels_;  // kSide x kSide, top row first; kUnset where nothing was drawn
};
