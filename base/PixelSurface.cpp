// Row length of a DIB, shared by the loader, the copies and the tests.
#include "base/PixelSurface.h"

int64_t DibRowBytes(int64_t width, int bitCount) {
    if (width < 0 || width > INT32_MAX || bitCount <= 0 || bitCount > 32) {
        return -1;
    }
    const int64_t bytes = (width * bitCount + 31) / 32 * 4;
    return bytes > INT32_MAX ? -1 : bytes;
}
