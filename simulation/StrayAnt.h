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
    virtual ~StrayAnt() = default;

    void Reset(int32_t screenWidth, int32_t screenHeight);
    // One frame by state: walk (kept on the screen) or rise.
    void Step(int32_t screenWidth, int32_t screenHeight);
    static void Advance(int32_t direction, int32_t& px, int32_t& py);
    int32_t Cell() const { return direction * 2 + frame; }
    // For the window thread, when the user clicks the walking ant: from then on it stands at
    // (atX, atY), where it was shown, and its heart rises from there. Its frames draw the same
    // random numbers as a walk would, so a run keeps its sequence.
    void Hold(int32_t atX, int32_t atY);

    int32_t x = 0;
    int32_t y = 0;
    int32_t direction = 0;
    std::atomic<int32_t> state{StrayWalking};  // the click (window thread) moves it 1 -> 2
    std::atomic<int32_t> held{0};              // set by Hold, with the place below
    std::atomic<int32_t> heldX{0};
    std::atomic<int32_t> heldY{0};
    int32_t age = 0;
    int32_t frame = 0;
};
