// An ant's private record of the cells it walked since it last left home, committed into the
// field mask as trail cells on arrival.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PheromonePoint {
    int32_t x;
    int32_t y;
    int32_t mark;  // CellTrail or CellStrongTrail
};

class PheromonePointList {
  public:
    PheromonePointList() = default;

    int32_t Count() const { return static_cast<int32_t>(points_.size()); }
    void Clear() { points_.clear(); }
    void Append(int32_t x, int32_t y, int32_t mark) { points_.push_back({x, y, mark}); }
    // The point at index, or null after the index-error message for an index outside 0..Count-1.
    PheromonePoint* At(int32_t index);

  private:
    std::vector<PheromonePoint> points_;
};
