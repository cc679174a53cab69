// The hearts of happy ants and their rise: up and to the right, then left, in ten-frame swings,
// gone after 49 drawn frames or at the top margin.
#include "simulation/HeartList.h"

#include "base/MessageSeam.h"
#include "resources/TextIds.h"

namespace {
constexpr int32_t kTopLimit = 16;
}

bool RiseOneFrame(int32_t& x, int32_t& y, int32_t& age, int32_t top) {
    ++age;
    const int32_t phase = age / 10;
    bool rising = true;
    switch (phase) {
        case 0:
        case 2:
        case 4:
            ++x;
            --y;
            break;
        case 1:
        case 3:
            --x;
            --y;
            break;
        default:  // phase 5: the rise is over
            age = 0;
            rising = false;
            break;
    }
    if (y < top + kTopLimit) {
        y = top + kTopLimit;
        age = 0;
        rising = false;
    }
    return rising;
}

Heart* HeartList::At(int32_t index) {
    if (index < 0 || index >= Count()) {
        ShowProgramMessage(IDS_NO_HEART, IDS_INDEX_CAPTION, mb::kOk);
        return nullptr;
    }
    return &hearts_[static_cast<size_t>(index)];
}

void HeartList::Animate() {
    for (Heart& heart : hearts_) {
        if (heart.visible != 0 && !RiseOneFrame(heart.x, heart.y, heart.age)) {
            heart.visible = 0;
        }
    }
}
