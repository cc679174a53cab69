// The boxes of a refused bitmap: a wrong file type is the user's doing (warning), broken data is
// a failure of the data (error).
#include "base/ImagingMessages.h"

#include "base/MessageSeam.h"

void ReportBmpError(BmpError error, BmpSource source) {
    switch (error) {
        case BmpError::None:
            break;
        case BmpError::NotBitmap:
            ShowProgramMessage(IDS_NOT_BITMAP, IDS_NOT_BITMAP_CAPTION, mb::kOk | mb::kIconWarning);
            break;
        case BmpError::BadData:
            ShowProgramMessage(
                IDS_BAD_BITMAP,
                source == BmpSource::File ? IDS_BAD_BITMAP_CAPTION : IDS_BAD_RESOURCE_CAPTION,
                mb::kOk | mb::kIconError);
            break;
    }
}
