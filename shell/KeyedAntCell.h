// One ant cell of the sprite sheet with the key colour all around the ant: the picture of the
// stray ant's colour-keyed window, whose key pixels the display leaves out of the window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/Geometry.h"

class DIBImage;

class KeyedAntCell {
  public:
    static constexpr int kSide = kAntCell;

    // Cell `cell` of sheet (cells side by side in the top rows, their masks below them). A sheet
    // that is not loaded yet, or a cell outside it, gives a cell that is key colour throughout.
    KeyedAntCell(const DIBImage* sheet, int cell);

    // The pixel at (x, y) as 0x00RRGGBB.
    uint32_t At(int x, int y) const { return pixels_[y * kSide + x]; }
    // Copies the cell to (0, 0) of dc in one call, each pixel a scale x scale block.
    void Draw(HDC dc, int32_t scale = 1) const;

    // The key colour as the layered-window attribute wants it.
    static COLORREF KeyColourRef();

  private:
    uint32_t pixels_[kSide * kSide];
};
