// The one way a background picture is read, for the start-up and for a reload: the same sources,
// the same checks, so a picture the start-up accepts is one a drop would accept too.
#pragma once

#include "base/Geometry.h"
#include "imaging/DIBImage.h"
#include "simulation/SharedState.h"  // kBuiltInBackground

enum class BackgroundVerdict { Loaded, Unreadable, TooNarrow, TooLow };

class BackgroundLoader {
  public:
    // Loads kBuiltInBackground or the BMP file name into picture and checks that the ants can
    // walk on it: at least kMinFieldSide each way (the lens shows a kLensSide square of it), as it
    // comes out of the loader: a picture past the image size limit comes scaled down to it. One
    // that cannot be read (or is cut short) is Unreadable; the bitmap loader has already said why.
    static BackgroundVerdict Load(DIBImage& picture, const char* name);

    // The warning a dropped picture that is too small gets; nothing for the other verdicts.
    static void ReportTooSmall(BackgroundVerdict verdict);
};
