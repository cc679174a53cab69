// The stray ant's picture: the sheet's mask rows decide pixel by pixel between the ant and the key
// colour, so the window shows exactly the ant's outline and nothing of the sheet's black ground.
#include "shell/KeyedAntCell.h"

#include "imaging/DIBImage.h"
#include "shell/ShellWindowState.h"
#include "simulation/ProgramWindows.h"

namespace {
constexpr int kCells = kStrayAntCells;
constexpr uint32_t kRgb = 0xFFFFFFu;

bool SheetHolds(const DIBImage* sheet, int cell) {
    return sheet != nullptr && cell >= 0 && cell < kCells && sheet->GetBitCount() == 32 &&
           sheet->GetWidth() >= kCells * KeyedAntCell::kSide &&
           sheet->GetHeight() >= 2 * KeyedAntCell::kSide;
}
}  // namespace

KeyedAntCell::KeyedAntCell(const DIBImage* sheet, int cell) {
    const bool holds = SheetHolds(sheet, cell);
    for (int y = 0; y < kSide; ++y) {
        const uint32_t* picture = holds ? sheet->GetLine(y) + cell * kSide : nullptr;
        const uint32_t* mask = holds ? sheet->GetLine(kSide + y) + cell * kSide : nullptr;
        for (int x = 0; x < kSide; ++x) {
            // The mask is black on the ant and white around it.
            const bool ant = holds && (mask[x] & kRgb) == 0;
            pixels_[y * kSide + x] = ant ? picture[x] & kRgb : kKeyColour;
        }
    }
}

void KeyedAntCell::Draw(HDC dc, int32_t scale) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSide;
    info.bmiHeader.biHeight = -kSide;  // top row first, as pixels_ is laid out
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (scale <= 1) {
        SetDIBitsToDevice(dc, 0, 0, kSide, kSide, 0, 0, 0, kSide, pixels_, &info, DIB_RGB_COLORS);
        return;
    }
    // Whole pixels: the key colour must stay exactly the key colour at the ant's edge.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, kSide * scale, kSide * scale, 0, 0, kSide, kSide, pixels_, &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

COLORREF KeyedAntCell::KeyColourRef() {
    return RGB((kKeyColour >> 16) & 0xFF, (kKeyColour >> 8) & 0xFF, kKeyColour & 0xFF);
}
