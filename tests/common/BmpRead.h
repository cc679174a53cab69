// What the BMP decoder makes of a whole file or a packed DIB, in one call: its verdict, the
// layout, the decoded bottom-up pixels (0xCD where nothing was written) and the info block.
#pragma once

#include <cstdint>
#include <vector>

#include "base/BmpDecoder.h"

struct BmpRead {
    BmpError error = BmpError::None;
    BmpLayout layout;
    bool decoded = false;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> info;
};

inline BmpRead ReadBmpBytes(const std::vector<uint8_t>& data, bool packedDib = false) {
    BmpDecoder decoder;
    BmpRead r;
    r.error = packedDib ? decoder.ParseDib(data.data(), data.size())
                        : decoder.ParseFile(data.data(), data.size(), data.size());
    r.layout = decoder.Layout();
    if (r.error == BmpError::None) {
        r.pixels.assign(r.layout.pixelBytes, 0xCD);
        r.decoded = decoder.Decode(data.data(), data.size(), r.pixels.data(), r.pixels.size());
        r.info = decoder.InfoBlock();
    }
    return r;
}
