// What the stray ant's windows are to show, published by the simulation thread in one atomic word
// and read by the window thread, so a reader never sees the position of one frame with the cell of
// another.
#pragma once

#include <atomic>
#include <cstdint>

// What shows, and where: a walking ant in sprite cell 0..15, or the heart (its cell unused);
// Hidden means nothing.
struct StrayAntPose {
    enum Kind : int32_t { Hidden = 0, Walking = 1, Heart = 2 };
    int32_t kind = Hidden;
    int32_t cell = 0;
    int32_t x = 0;  // screen pixels of the window's top-left corner
    int32_t y = 0;

    bool operator==(const StrayAntPose& other) const {
        return kind == other.kind && cell == other.cell && x == other.x && y == other.y;
    }
};

class StrayAntView {
  public:
    StrayAntView() = default;
    StrayAntView(const StrayAntView&) = delete;
    StrayAntView& operator=(const StrayAntView&) = delete;

    void Publish(const StrayAntPose& pose) { word_.store(Pack(pose)); }
    StrayAntPose Read() const { return Unpack(word_.load()); }

    // 24 bits each for x and y (any screen of up to 8 million pixels either way), 5 for the
    // cell, 2 for the kind; values outside those ranges are clamped to them.
    static uint64_t Pack(const StrayAntPose& pose);
    static StrayAntPose Unpack(uint64_t word);

    static constexpr int32_t kCoordinateLimit = (1 << 23) - 1;

  private:
    std::atomic<uint64_t> word_{0};
};
