// The stray ant's gate, its own movement in screen pixels (a random walk kept on the screen, then
// the heart's zigzag rise once the user has found it), and the packing of its pose into one word
// (coordinates as 24-bit two's complement fields).
#include "simulation/StrayAnt.h"

#include <algorithm>

#include "colony/Ant.h"
#include "simulation/HeartList.h"

namespace {
DesktopArea SingleScreen(int32_t width, int32_t height) {
    return DesktopArea({ScreenRect{0, 0, width, height}}, kAntCell);
}
}  // namespace

StrayAnt::StrayAnt(const DesktopArea& desktop, RandomGenerator& random) {
    Reset(desktop, random);
}

StrayAnt::StrayAnt(int32_t screenWidth, int32_t screenHeight, RandomGenerator& random)
    : StrayAnt(SingleScreen(screenWidth, screenHeight), random) {}

void StrayAnt::Reset(const DesktopArea& desktop, RandomGenerator& random) {
    // Two statements: the draws must be made in this order.
    const int32_t drawX = random.Next();
    const int32_t drawY = random.Next();
    const ScreenPoint place = desktop.StartPlace(drawX, drawY);
    x = place.x;
    y = place.y;
    direction = random.Next() % 8;
    state = StrayWalking;
    held = 0;
    frame = 0;
    age = 0;
}

void StrayAnt::Reset(int32_t screenWidth, int32_t screenHeight, RandomGenerator& random) {
    Reset(SingleScreen(screenWidth, screenHeight), random);
}

void StrayAnt::Hold(int32_t atX, int32_t atY) {
    heldX = atX;
    heldY = atY;
    held = 1;
}

void StrayAnt::Advance(int32_t heading, int32_t& px, int32_t& py) {
    ::Advance(heading, px, py);
}

void StrayAnt::Step(const DesktopArea& desktop, RandomGenerator& random) {
    const int32_t current = state.load();
    if (current == StrayWalking) {
        const int32_t r = random.Next() % 10;
        const bool turn = r == 0 || r >= 8;
        const bool move = r <= 6;
        if (held != 0) {
            // Found: it stands where it was clicked, drawing what a step would.
            if (turn) {
                random.Next();
            }
            x = heldX;
            y = heldY;
            return;
        }
        if (turn) {
            direction = TurnChoices[direction & 7][random.Next() % 3];
        }
        if (move) {
            int32_t nx = x;
            int32_t ny = y;
            Advance(direction, nx, ny);
            const ScreenPoint kept = desktop.KeepOn(x, y, nx, ny);
            x = kept.x;
            y = kept.y;
        }
        frame = 1 - frame;
    } else if (current == StrayRising) {
        if (age == 0 && held != 0) {
            // A step made as the click came may have moved it on: the heart starts at the click.
            x = heldX;
            y = heldY;
        }
        const ScreenRect here{x, y, x + kHeartSide, y + kHeartSide};
        const int32_t top = desktop.WorkAreas()[desktop.NearestTo(here)].top;
        if (!RiseOneFrame(x, y, age, top)) {
            state = StrayFinished;
        }
    }
}

void StrayAnt::Step(int32_t screenWidth, int32_t screenHeight, RandomGenerator& random) {
    Step(SingleScreen(screenWidth, screenHeight), random);
}

bool StrayAntGate::Opens(uint32_t now, bool windowsReady, RandomGenerator& random) {
    if (!mayAppear_ || !windowsReady || now - runStart_ <= delayMs_) {
        return false;
    }
    if (random.Next() % oneIn_ != 0) {
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
