// The ant that strays out of the lens once per run and walks over the desktop in screen pixels,
// and, once found, rises as a heart.
#pragma once

#include <atomic>
#include <cstdint>

enum StrayState : int32_t { StrayFinished = 0, StrayWalking = 1, StrayRising = 2 };

class StrayAnt {
  public:
    // Performs Reset with the given screen size.
    StrayAnt(int32_t screenWidth, int32_t screenHeight);

    void Reset(int32_t screenWidth, int32_t screenHeight);
    // One frame by state: walk (kept on the screen) or rise.
    void Step(int32_t screenWidth, int32_t screenHeight);
    static void Advance(int32_t direction, int32_t& px, int32_t& py);
    int32_t Cell() const { return direction * 2 + frame; }

    int32_t x = 0;
    int32_t y = 0;
    int32_t direction = 0;
    std::atomic<int32_t> state{StrayWalking};  // the click (window thread) moves it 1 -> 2
    int32_t age = 0;
    int32_t frame = 0;
};
