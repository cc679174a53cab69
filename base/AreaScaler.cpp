// Area averaging in whole numbers. With source side S and target side T (T <= S), source pixel x
// covers [x*T, (x+1)*T) and target pixel i covers [i*S, (i+1)*S) on one scale: a source pixel
// lies in at most two target pixels, and each target pixel gathers exactly S of those units. A
// channel's sum over a target pixel is at most 255 * S_w * S_h, well inside 64 bits for any side
// the loader takes.
#include "base/AreaScaler.h"

#include <algorithm>

AreaScaler::AreaScaler(int32_t sourceWidth, int32_t sourceHeight, const PixelSurface& target)
    : sourceWidth_(sourceWidth),
      sourceHeight_(sourceHeight),
      target_(target),
      columns_(Shares(sourceWidth, target.width)),
      rows_(Shares(sourceHeight, target.height)),
      line_(static_cast<size_t>(target.width) * 3, 0),
      current_(line_.size(), 0),
      next_(line_.size(), 0) {}

std::vector<AreaScaler::Share> AreaScaler::Shares(int32_t source, int32_t target) {
    std::vector<Share> shares(static_cast<size_t>(std::max(source, 0)));
    for (int32_t x = 0; x < source; ++x) {
        const int64_t start = static_cast<int64_t>(x) * target;
        const int32_t first = static_cast<int32_t>(start / source);
        const int64_t boundary = static_cast<int64_t>(first + 1) * source;
        const int64_t part = std::min<int64_t>(boundary, start + target) - start;
        shares[x] = {first, static_cast<uint32_t>(part)};
    }
    return shares;
}

void AreaScaler::AddRow(const uint32_t* pixels) {
    if (pixels == nullptr || rowsIn_ >= sourceHeight_ || target_.IsEmpty()) {
        return;
    }
    std::fill(line_.begin(), line_.end(), 0);
    const uint32_t columnUnits = static_cast<uint32_t>(target_.width);
    for (int32_t x = 0; x < sourceWidth_; ++x) {
        const Share s = columns_[x];
        const uint32_t p = pixels[x];
        const uint64_t channel[3] = {p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF};
        uint64_t* at = &line_[static_cast<size_t>(s.first) * 3];
        for (int c = 0; c < 3; ++c) {
            at[c] += channel[c] * s.part;
        }
        const uint32_t rest = columnUnits - s.part;
        if (rest > 0) {
            for (int c = 0; c < 3; ++c) {
                at[3 + c] += channel[c] * rest;
            }
        }
    }
    const Share r = rows_[rowsIn_];
    const uint32_t rest = static_cast<uint32_t>(target_.height) - r.part;
    for (size_t i = 0; i < line_.size(); ++i) {
        current_[i] += line_[i] * r.part;
        next_[i] += line_[i] * rest;
    }
    ++rowsIn_;
    // The target row is whole once the next source row starts in a later one (or none is left).
    const bool last = rowsIn_ == sourceHeight_;
    if (last || rows_[rowsIn_].first != r.first) {
        EmitRow(r.first);
        current_.swap(next_);
        std::fill(next_.begin(), next_.end(), 0);
    }
}

void AreaScaler::EmitRow(int32_t row) {
    if (row < 0 || row >= target_.height) {
        return;
    }
    const uint64_t whole =
        static_cast<uint64_t>(sourceWidth_) * static_cast<uint64_t>(sourceHeight_);
    auto* out = reinterpret_cast<uint32_t*>(target_.Row(row));
    for (int32_t i = 0; i < target_.width; ++i) {
        uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c) {
            const uint64_t mean = (current_[static_cast<size_t>(i) * 3 + c] + whole / 2) / whole;
            pixel |= static_cast<uint32_t>(std::min<uint64_t>(mean, 255)) << (8 * c);
        }
        out[i] = pixel;
    }
}

void AreaScaler::FitWithin(int64_t width, int64_t height, int32_t limit, int32_t& fittedWidth,
                           int32_t& fittedHeight) {
    if (width <= limit && height <= limit) {
        fittedWidth = static_cast<int32_t>(width);
        fittedHeight = static_cast<int32_t>(height);
        return;
    }
    const bool wide = width >= height;
    const int64_t longer = wide ? width : height;
    const int64_t shorter = wide ? height : width;
    const int64_t scaled = std::max<int64_t>(1, (shorter * limit + longer / 2) / longer);
    fittedWidth = wide ? limit : static_cast<int32_t>(scaled);
    fittedHeight = wide ? static_cast<int32_t>(scaled) : limit;
}
