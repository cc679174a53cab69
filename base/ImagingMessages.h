// The mapping from a refused BMP to its box. The texts themselves are resources
// (resources/TextIds.h names them).
#pragma once

#include "base/BmpDecoder.h"
#include "resources/TextIds.h"

// Where a refused bitmap came from: the boxes differ only in the data-error caption.
enum class BmpSource { File, Resource };

// Shows the box for a refused BMP (nothing for BmpError::None) through the message seam.
void ReportBmpError(BmpError error, BmpSource source);
