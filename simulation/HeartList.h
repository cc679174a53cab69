// The hearts that rise, swaying, from the spot where an ant became happy; one per ant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Heart {
    int32_t x;
    int32_t y;
    int32_t age;
    int32_t visible;
};

class HeartList {
  public:
    HeartList() = default;

    int32_t Count() const { return static_cast<int32_t>(hearts_.size()); }
    void Clear() { hearts_.clear(); }
    void Add() { hearts_.push_back({0, 0, 0, 0}); }
    // The heart at index, or null after the index-error message.
    Heart* At(int32_t index);
    void Animate();  // one frame of rising for every visible heart

  private:
    std::vector<Heart> hearts_;
};

// One frame of the zigzag rise shared by lens hearts and the stray ant's heart: returns false
// when the rise has ended (age reset to 0). It ends at the top margin below row top: the field's
// first row for lens hearts, the top of its monitor's work area for the stray ant's heart.
bool RiseOneFrame(int32_t& x, int32_t& y, int32_t& age, int32_t top = 0);
