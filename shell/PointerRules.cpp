// Pointer arithmetic of the magnifier; the truncations are those of integer and double maths.
#include "shell/PointerRules.h"

#include <cmath>

namespace {
// Slightly below 180 / pi, so that a flick at exactly 45 degrees reads 44.
constexpr double kDegreesPerRadian = 57.29577951307855;

int32_t Degrees(double opposite, double adjacent) {
    return static_cast<int32_t>(std::atan2(opposite, adjacent) * kDegreesPerRadian);
}
}  // namespace

int32_t BallLensCoordinate(int32_t ball, int32_t fieldSize) {
    if (ball > fieldSize - kLensSide / 2) {
        return ball - (fieldSize - kLensSide);
    }
    if (ball < kLensSide / 2) {
        return ball;
    }
    return kLensSide / 2;
}

bool BallGrabHit(int32_t lx, int32_t ly, int32_t bx, int32_t by) {
    return lx >= bx - 8 && lx <= bx + 8 && ly >= by - 9 && ly <= by + 7;
}

int32_t FreeViewStart(int32_t ball, int32_t fieldSize) {
    if (ball >= fieldSize - kLensSide / 2) {
        return fieldSize - kLensSide;
    }
    if (ball < kLensSide / 2) {
        return 0;
    }
    return ball - kLensSide / 2;
}

int32_t ClampPanX(int32_t viewX, int32_t fieldWidth) {
    if (viewX < 0) {
        viewX = 0;
    }
    if (viewX > fieldWidth - kLensSide) {
        viewX = fieldWidth - kLensSide;
    }
    return viewX;
}

int32_t ClampPanY(int32_t viewY, int32_t fieldHeight) {
    if (viewY < 0) {
        viewY = 0;
    }
    if (viewY > fieldHeight - (kLensSide + 1)) {
        viewY = fieldHeight - (kLensSide + 1);
    }
    return viewY;
}

int32_t ThrowSpeed(int32_t dx, int32_t dy, uint32_t elapsedMs) {
    const double squared = static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
    const auto distance = static_cast<uint32_t>(std::sqrt(squared));
    const uint32_t speed = distance / (elapsedMs / 100 + 1);
    return speed > static_cast<uint32_t>(kMaxThrowSpeed) ? kMaxThrowSpeed
                                                         : static_cast<int32_t>(speed);
}

int32_t ThrowAngle(int32_t dx, int32_t dy) {
    if (dy == 0) {
        return dx <= 0 ? 180 : 0;
    }
    if (dx == 0) {
        return dy > 0 ? 90 : 270;
    }
    if (dx > 0) {
        return dy > 0 ? Degrees(dy, dx) : 360 - Degrees(-dy, dx);
    }
    return dy > 0 ? 180 - Degrees(dy, -dx) : 180 + Degrees(-dy, -dx);
}

bool RimMenuOpensLeft(uint32_t clientX) {
    return clientX <= kRimMenuSplitX;
}
