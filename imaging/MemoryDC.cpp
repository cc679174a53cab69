// The memory DC of one image, with its pen, brush and palette. Palettes handed in are owned from
// then on, except the stock one, which is never deleted.
#include "imaging/MemoryDC.h"

#include "base/ImagingMessages.h"
#include "base/MessageSeam.h"
#include "imaging/GdiObjectCount.h"
#include "platform/UniqueHandle.h"

namespace {
HPALETTE StockPalette() {
    return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
}

HDC NewScreenCompatibleDC() {
    WindowDC screen(nullptr);
    return CountCreated(CreateCompatibleDC(screen.get()));
}
}  // namespace

MemoryDC::MemoryDC() : hdc_(NewScreenCompatibleDC()), pen_(hdc_.get()), brush_(hdc_.get()) {
    MoveTo(0, 0);
    currentPalette_ = SelectPalette(hdc_.get(), StockPalette(), FALSE);
    SelectPalette(hdc_.get(), currentPalette_, FALSE);
    RealizePalette(hdc_.get());
}

MemoryDC::~MemoryDC() {
    if (originalPalette_ != nullptr) {
        HPALETTE displaced = SelectPalette(hdc_.get(), originalPalette_, FALSE);
        if (displaced != nullptr && displaced != StockPalette() && displaced != originalPalette_) {
            DeleteCounted(displaced);
        }
    }
}

BOOL MemoryDC::Ellipse(int left, int top, int right, int bottom) {
    return ::Ellipse(hdc_.get(), left, top, right, bottom);
}

BOOL MemoryDC::MoveTo(int x, int y) {
    return MoveToEx(hdc_.get(), x, y, nullptr);
}

void MemoryDC::Blit(int x, int y, int w, int h, MemoryDC* src, int sx, int sy) {
    if (src != nullptr) {
        BitBlt(hdc_.get(), x, y, w, h, src->GetHDC(), sx, sy, SRCCOPY);
    }
}

int MemoryDC::SelectDIBPalette(HPALETTE palette) {
    currentPalette_ = palette;
    if (palette == nullptr) {
        // Creation failed and has been reported; the DC keeps the palette it holds.
        return 0;
    }
    HPALETTE displaced = SelectPalette(hdc_.get(), palette, FALSE);
    if (displaced == nullptr) {
        if (palette != StockPalette()) {
            DeleteCounted(palette);
        }
        currentPalette_ = nullptr;
        return 0;
    }
    if (originalPalette_ == nullptr) {
        originalPalette_ = displaced;
    } else if (displaced != palette && displaced != StockPalette() &&
               displaced != originalPalette_) {
        DeleteCounted(displaced);
    }
    PALETTEENTRY entries[256] = {};
    GetPaletteEntries(palette, 0, 256, entries);
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) {
        table[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    }
    // Ignored by surfaces without a colour table, such as the 32-bit ones.
    SetDIBColorTable(hdc_.get(), 0, 256, table);
    if (RealizePalette(hdc_.get()) == GDI_ERROR) {
        ShowProgramMessage(IDS_PALETTE_REALIZE, IDS_PALETTE_REALIZE_CAPTION, MB_OK | MB_ICONERROR);
        return 0;
    }
    return 1;
}
