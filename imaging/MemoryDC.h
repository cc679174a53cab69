// A memory device context compatible with the screen that owns one pen, one brush and the
// palettes it selects. Every image draws through one of these.
#pragma once

#include <windows.h>

#include "imaging/DCBrush.h"
#include "imaging/DCPen.h"

class MemoryDC {
  public:
    MemoryDC();
    virtual ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC GetHDC() const { return hdc_; }
    DCPen* GetPen() const { return pen_; }
    DCBrush* GetBrush() const { return brush_; }
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL MoveTo(int x, int y);
    void Blit(int x, int y, int w, int h, MemoryDC* src, int sx, int sy);
    // Selects and realises palette (owned from now on unless it is the stock palette): 1, or 0
    // after the palette-realisation message.
    int SelectDIBPalette(HPALETTE palette);
    HPALETTE GetCurrentPalette() const { return currentPalette_; }
    HPALETTE GetOriginalPalette() const { return originalPalette_; }

  private:
    HDC hdc_ = nullptr;
    DCPen* pen_ = nullptr;      // owned
    DCBrush* brush_ = nullptr;  // owned
    HPALETTE currentPalette_ = nullptr;
    HPALETTE originalPalette_ = nullptr;  // not owned: the DC's own, put back at destruction
};
