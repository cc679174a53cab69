#include "shell/GlassScale.h"

#include "base/Geometry.h"
#include "imaging/DIBImage.h"
#include "platform/DisplayDpi.h"
#include "platform/UniqueHandle.h"
#include "resources/ResourceIds.h"
#include "shell/MonitorPlacement.h"
#include "simulation/ProgramWindows.h"
#include "shell/Program.h"

namespace {
constexpr UINT kResizeFlags = SWP_NOZORDER | SWP_NOACTIVATE;

// The shape of the key-coloured bitmap's w x h top-left, at scale; nothing without the picture.
UniqueRegion CutShape(int bitmap, int w, int h, PixelScale scale) {
    DIBImage shape;
    if (shape.LoadBitmapResource(MAKEINTRESOURCEA(bitmap)) == 0 || shape.GetWidth() < w ||
        shape.GetHeight() < h) {
        return UniqueRegion();
    }
    shape.ChangeBitCount(32);
    return UniqueRegion(shape.GetTransRgn(0, 0, w, h, kKeyColour, scale.Factor()));
}

// Gives window its shape; the region belongs to the window from then on.
bool GiveRegion(HWND window, UniqueRegion region) {
    if (window == nullptr || !region || SetWindowRgn(window, region.get(), TRUE) == 0) {
        return false;
    }
    region.release();
    return true;
}

void Resize(HWND window, int side) {
    if (window != nullptr) {
        SetWindowPos(window, nullptr, 0, 0, side, side, kResizeFlags | SWP_NOMOVE);
        InvalidateRect(window, nullptr, FALSE);
    }
}
}  // namespace

PixelScale GlassScale::Choose(int32_t choice, HWND window) {
    if (choice > kAutomatic && choice <= kLargestChoice) {
        return PixelScale(choice);
    }
    return PixelScale::ForDpi(DisplayDpi::OfWindow(window));
}

PixelScale GlassScale::ChooseForDpi(int32_t choice, int32_t dpi) {
    return choice > kAutomatic && choice <= kLargestChoice ? PixelScale(choice)
                                                           : PixelScale::ForDpi(dpi);
}

void GlassScale::Apply(Program& program, HWND glass, PixelScale scale, POINT centre) {
    if (scale.Factor() == program.shared.Scale().Factor()) {
        return;
    }
    program.shared.displayScale = scale.Factor();
    SizeGlass(glass, scale, centre);
    CutGlass(glass, scale);
    FitStrayWindows(program.strayWindows, scale);
    RefreshDesktop(program);  // the stray ant's window has a new size to keep on the monitors
    InvalidateRect(glass, nullptr, FALSE);
}

void GlassScale::SizeGlass(HWND glass, PixelScale scale, POINT centre) {
    const int w = scale.Up(kFrameWidth);
    const int h = scale.Up(kFrameHeight);
    SetWindowPos(glass, nullptr, centre.x - w / 2, centre.y - h / 2, w, h, kResizeFlags);
}

bool GlassScale::CutGlass(HWND glass, PixelScale scale) {
    return GiveRegion(glass, CutShape(IDB_MAGNIFIER_SHAPE, kFrameWidth, kFrameHeight, scale));
}

void GlassScale::FitStrayWindows(const HWND (&strayWindows)[kStrayWindowCount], PixelScale scale) {
    Resize(strayWindows[kStrayAntIndex], scale.Up(kAntCell));
    HWND heart = strayWindows[kStrayHeartIndex];
    Resize(heart, scale.Up(kHeartSide));
    CutHeart(heart, scale);
}

void GlassScale::CutHeart(HWND heart, PixelScale scale) {
    GiveRegion(heart, CutShape(IDB_HEART_SHAPE, kHeartSide, kHeartSide, scale));
}

POINT GlassScale::CentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

void GlassScale::Blit(HDC dst, int x, int y, int w, int h, HDC src, PixelScale scale) {
    if (scale.Factor() == 1) {
        BitBlt(dst, x, y, w, h, src, x, y, SRCCOPY);
        return;
    }
    // Whole pixels, no blending: each source pixel becomes one block of its own colour.
    SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, scale.Up(x), scale.Up(y), scale.Up(w), scale.Up(h), src, x, y, w, h, SRCCOPY);
}
