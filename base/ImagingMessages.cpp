// The boxes of a refused bitmap: a wrong file type is the user's doing (warning), broken data is
// a failure of the data (error).
#include "base/ImagingMessages.h"

#include "base/MessageSeam.h"

void ReportBmpError(BmpError error, BmpSource source) {
    switch (error) {
        case BmpError::None:
            break;
        case BmpError::NotBitmap:
            ShowProgramMessage(imaging_text::kNotBitmap, imaging_text::kNotBitmapCaption,
                               mb::kOk | mb::kIconWarning);
            break;
        case BmpError::BadData:
            ShowProgramMessage(imaging_text::kBadBitmap,
                               source == BmpSource::File ? imaging_text::kBadBitmapCaption
                                                         : imaging_text::kBadResourceCaption,
                               mb::kOk | mb::kIconError);
            break;
    }
}
