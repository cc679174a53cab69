// A memory device context compatible with the screen that owns one pen, one brush and the
// palettes it selects. Every image draws through one of these.
#pragma once

#include <windows.h>

#include "imaging/SelectedGdiObject.h"

class MemoryDC {
  public:
    MemoryDC();
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC GetHDC() const { return hdc_.get(); }
    DCPen* GetPen() { return &pen_; }
    DCBrush* GetBrush() { return &brush_; }
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL MoveTo(int x, int y);
    void Blit(int x, int y, int w, int h, MemoryDC* src, int sx, int sy);
    // Selects and realises palette (owned from now on unless it is the stock palette): 1, or 0
    // after the palette-realisation message.
    int SelectDIBPalette(HPALETTE palette);
    HPALETTE GetCurrentPalette() const { return currentPalette_; }
    HPALETTE GetOriginalPalette() const { return originalPalette_; }

  private:
    // Declared in the order of making: the pen and brush are put back and deleted before the DC.
    CountedDC hdc_;
    DCPen pen_;
    DCBrush brush_;
    HPALETTE currentPalette_ = nullptr;
    HPALETTE originalPalette_ = nullptr;  // not owned: the DC's own, put back at destruction
};
