// libFuzzer target over the BMP decoder and the pixel kernels: any bytes as a file and as a
// packed DIB; whatever parses is decoded, and a 32-bit result is run through the run search and
// the clipped copies at positions taken from the input. Broken invariants abort.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/BmpDecoder.h"
#include "base/ImageLimits.h"
#include "base/ImagingMessages.h"
#include "base/MessageSeam.h"
#include "base/PixelCopy.h"
#include "base/TransparentRuns.h"

namespace {
// Large pictures are legal but make each run slow; the checks past parsing are the same.
constexpr size_t kDecodeLimit = 16u << 20;

int Silent(const MessageRequest&) {
    return mb::kIdOk;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int Take(const uint8_t* data, size_t size, size_t at) {
    return at < size ? static_cast<int8_t>(data[at]) * 3 : 0;
}

void Exercise(const BmpDecoder& decoder, const uint8_t* data, size_t size) {
    const BmpLayout& l = decoder.Layout();
    Require(l.header.size == bmp::kInfoHeaderBytes && l.header.width > 0 && l.header.height > 0);
    Require(l.widthBytes > 0 && l.widthBytes % 4 == 0);
    Require(l.pixelBytes == static_cast<size_t>(l.widthBytes) * l.header.height);
    // Within the one limit, and so within what its 32-bit form will need.
    const int64_t wide = LimitedSurfaceBytes(l.header.width, l.header.height, 32);
    Require(wide > 0 && l.pixelBytes <= static_cast<uint64_t>(wide));
    Require(l.pixelOffset < std::max<uint64_t>(size, 1) || size == 0);
    const std::vector<uint8_t> info = decoder.InfoBlock();
    Require(info.size() == 40 + 4 * (l.colours.empty() ? 1 : l.colours.size()));
    Require(l.colours.empty() == (l.header.bitCount > 8));
    if (l.pixelBytes > kDecodeLimit) {
        return;
    }
    std::vector<uint8_t> pixels(l.pixelBytes);
    const bool decoded = decoder.Decode(data, size, pixels.data(), pixels.size());
    // The pixel data on their own, as a file with a gap before them is read, decode the same.
    if (l.pixelOffset < size) {
        std::vector<uint8_t> alone(l.pixelBytes, 0xCD);
        const size_t start = static_cast<size_t>(l.pixelOffset);
        Require(decoder.DecodePixels(data + start, size - start, alone.data(), alone.size()) ==
                decoded);
        Require(!decoded || alone == pixels);
    }
    if (!decoded || l.header.bitCount != 32) {
        return;
    }
    PixelSurface image{pixels.data(), l.header.width, l.header.height, l.widthBytes, 32};
    const int x = Take(data, size, 0), y = Take(data, size, 1);
    const int w = Take(data, size, 2), h = Take(data, size, 3);
    for (const PixelRun& r : FindOpaqueRuns(image, x, y, w, h, 0x00FF84)) {
        Require(r.row >= 0 && r.row < image.height && r.start >= 0 && r.start < r.end &&
                r.end <= image.width);
    }
    std::vector<uint8_t> target(16 * 16 * 4, 0);
    PixelSurface canvas{target.data(), 16, 16, 64, 32};
    MaskCopyPixels(canvas, x, y, w, h, image, y, x, image, w, h, 0xFFFFFF);
    CopyPixelRows(canvas, y, x, w, h, image, x, y);
    CopyPixelRows(image, x, y, w, h, image, y, x);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const MessageSink previous = SetMessageSink(&Silent);
    (void)previous;
    BmpDecoder decoder;
    const BmpError asFile = decoder.ParseFile(data, size, size);
    if (asFile == BmpError::None) {
        Exercise(decoder, data, size);
        Require(decoder.BytesNeeded(size) <= size);
    } else {
        ReportBmpError(asFile, BmpSource::File);
    }
    if (decoder.ParseDib(data, size) == BmpError::None) {
        Exercise(decoder, data, size);
    }
    return 0;
}
