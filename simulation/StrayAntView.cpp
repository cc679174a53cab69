// Packing of the stray ant's pose into one word, and the program's one published pose.
// Coordinates go in as 24-bit two's complement fields.
#include "simulation/StrayAntView.h"

#include <algorithm>

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
