// Reading a background picture and deciding whether the ants can walk on it.
// The size limit itself is the image object's: larger pictures load scaled down to it.
#include "simulation/BackgroundLoader.h"

#include <cstring>

#include "base/MessageSeam.h"
#include "resources/ResourceIds.h"
#include "resources/TextIds.h"

BackgroundVerdict BackgroundLoader::Load(DIBImage& picture, const char* name) {
    const bool builtIn = name != nullptr && std::strcmp(name, kBuiltInBackground) == 0;
    const int loaded = builtIn           ? picture.LoadBitmapResource(MAKEINTRESOURCEA(IDB_FIELD))
                       : name != nullptr ? picture.LoadBitmapFile(name)
                                         : 0;
    if (loaded == 0) {
        return BackgroundVerdict::Unreadable;
    }
    if (picture.GetWidth() < kMinFieldSide) {
        return BackgroundVerdict::TooNarrow;
    }
    if (picture.GetHeight() < kMinFieldSide) {
        return BackgroundVerdict::TooLow;
    }
    return BackgroundVerdict::Loaded;
}

void BackgroundLoader::ReportTooSmall(BackgroundVerdict verdict) {
    if (verdict == BackgroundVerdict::TooNarrow) {
        ShowProgramMessage(IDS_TOO_NARROW, IDS_TOO_SMALL_CAPTION, mb::kIconWarning);
    } else if (verdict == BackgroundVerdict::TooLow) {
        ShowProgramMessage(IDS_TOO_LOW, IDS_TOO_SMALL_CAPTION, mb::kIconWarning);
    }
}
