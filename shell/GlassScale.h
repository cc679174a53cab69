// The whole-pixel scale on the screen: which scale the user's size choice and the monitor's DPI
// ask for, and how the glass, its outline and the stray ant's windows are brought to it. The
// pictures stay 1x in memory and are enlarged as they reach a window; the shapes are cut from the
// same masks, each pixel a scale x scale block, so outline and picture stay in step.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/PixelScale.h"
#include "simulation/ProgramWindows.h"

struct Program;

class GlassScale {
  public:
    // The size choices of the menu, as the settings file keeps them: automatic (the DPI of the
    // glass's monitor), or a fixed 1x .. kLargestChoice x.
    static constexpr int32_t kAutomatic = 0;
    static constexpr int32_t kLargestChoice = 3;

    // The scale of choice for window's monitor (any unknown choice counts as automatic).
    static PixelScale Choose(int32_t choice, HWND window);
    // The same for a monitor of dpi.
    static PixelScale ChooseForDpi(int32_t choice, int32_t dpi);

    // Brings the glass and the stray ant's windows to scale: the glass sized around centre
    // (screen pixels) and cut anew, the stray windows sized and the heart cut anew, all repainted.
    // Nothing happens when scale is already the one in force.
    static void Apply(Program& program, HWND glass, PixelScale scale, POINT centre);

    // The glass sized for scale around centre, without its shape.
    static void SizeGlass(HWND glass, PixelScale scale, POINT centre);
    // The glass's outline (bitmap IDB_MAGNIFIER_SHAPE) at scale; false (window left as it is)
    // without the picture.
    static bool CutGlass(HWND glass, PixelScale scale);
    // The stray ant's two windows sized for scale, the heart's shape cut for it.
    static void FitStrayWindows(const HWND (&strayWindows)[kStrayWindowCount], PixelScale scale);
    // The heart's window cut to the heart (bitmap IDB_HEART_SHAPE) at scale.
    static void CutHeart(HWND heart, PixelScale scale);

    // The centre of window's rectangle on the screen.
    static POINT CentreOf(HWND window);
    // Copies w x h pixels at (x, y) of src to (x, y) * scale of dst, each pixel a scale x scale
    // block (a plain copy at 1x).
    static void Blit(HDC dst, int x, int y, int w, int h, HDC src, PixelScale scale);
};
