// The stray ant's gate, its own movement in screen pixels (a random walk kept on the screen, then
// the heart's zigzag rise once the user has found it), and the packing of its pose into one word
// (coordinates as 24-bit two's complement fields).
#include "simulation/StrayAnt.h"

#include <algorithm>

#include "colony/Ant.h"
#include "colony/Random.h"
#include "simulation/HeartList.h"

namespace {
constexpr int32_t kCellSide = kAntCell;  // the walking window is one sprite cell

int32_t KeepOnScreen(int32_t value, int32_t screenSide) {
    if (value < 0) {
        return 0;
    }
    if (value >= screenSide - kCellSide) {
        return screenSide - kCellSide;
    }
    return value;
}

// A degenerate screen still draws once so the random sequence keeps its order.
int32_t Bound(int32_t value) {
    return value > 0 ? value : 1;
}
}  // namespace

StrayAnt::StrayAnt(int32_t screenWidth, int32_t screenHeight) {
    Reset(screenWidth, screenHeight);
}

void StrayAnt::Reset(int32_t screenWidth, int32_t screenHeight) {
    x = Random() % Bound(screenWidth - kCellSide);
    y = Random() % Bound(screenHeight - kCellSide);
    direction = Random() % 8;
    state = StrayWalking;
    frame = 0;
    age = 0;
}

void StrayAnt::Advance(int32_t heading, int32_t& px, int32_t& py) {
    ::Advance(heading, px, py);
}

void StrayAnt::Step(int32_t screenWidth, int32_t screenHeight) {
    const int32_t current = state.load();
    if (current == StrayWalking) {
        const int32_t r = Random() % 10;
        const bool turn = r == 0 || r >= 8;
        const bool move = r <= 6;
        if (turn) {
            direction = TurnChoices[direction & 7][Random() % 3];
        }
        if (move) {
            Advance(direction, x, y);
            x = KeepOnScreen(x, screenWidth);
            y = KeepOnScreen(y, screenHeight);
        }
        frame = 1 - frame;
    } else if (current == StrayRising) {
        if (!RiseOneFrame(x, y, age)) {
            state = StrayFinished;
        }
    }
}

bool StrayAntGate::Opens(uint32_t now, bool windowsReady) {
    if (!mayAppear_ || !windowsReady || now - runStart_ <= delayMs_) {
        return false;
    }
    if (Random() % oneIn_ != 0) {
        return false;
    }
    mayAppear_ = false;
    return true;
}

namespace {
constexpr uint64_t kCoordinateMask = (uint64_t{1} << 24) - 1;
constexpr int kYShift = 24;
constexpr int kCellShift = 48;
constexpr int kKindShift = 53;
constexpr uint64_t kCellMask = 0x1F;
constexpr uint64_t kKindMask = 0x3;

uint64_t PackCoordinate(int32_t value) {
    const int32_t clamped =
        std::clamp(value, -StrayAntView::kCoordinateLimit - 1, StrayAntView::kCoordinateLimit);
    return static_cast<uint64_t>(static_cast<uint32_t>(clamped)) & kCoordinateMask;
}

int32_t UnpackCoordinate(uint64_t field) {
    // Sign-extend the 24-bit field.
    const uint32_t bits = static_cast<uint32_t>(field & kCoordinateMask);
    return (bits & 0x800000u) != 0 ? static_cast<int32_t>(bits | 0xFF000000u)
                                   : static_cast<int32_t>(bits);
}
}  // namespace

uint64_t StrayAntView::Pack(const StrayAntPose& pose) {
    const auto cell = static_cast<uint64_t>(std::clamp(pose.cell, 0, 31));
    const auto kind = static_cast<uint64_t>(std::clamp(pose.kind, 0, 3));
    return PackCoordinate(pose.x) | (PackCoordinate(pose.y) << kYShift) | (cell << kCellShift) |
           (kind << kKindShift);
}

StrayAntPose StrayAntView::Unpack(uint64_t word) {
    StrayAntPose pose;
    pose.x = UnpackCoordinate(word);
    pose.y = UnpackCoordinate(word >> kYShift);
    pose.cell = static_cast<int32_t>((word >> kCellShift) & kCellMask);
    pose.kind = static_cast<int32_t>((word >> kKindShift) & kKindMask);
    return pose;
}
