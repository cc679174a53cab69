// The ant that strays out of the lens once per run: when it may come out (the gate), how it walks
// over the desktop in screen pixels and, once found, rises as a heart (the record), and what its
// windows show (the pose, published in one atomic word).
#pragma once

#include <atomic>
#include <cstdint>

#include "base/DesktopArea.h"
#include "base/Geometry.h"
#include "colony/RandomGenerator.h"

enum StrayState : int32_t { StrayFinished = 0, StrayWalking = 1, StrayRising = 2 };

class StrayAnt {
  public:
    // Performs Reset on the desktop.
    StrayAnt(const DesktopArea& desktop, RandomGenerator& random);
    // The same on a single screen of that size at the origin.
    StrayAnt(int32_t screenWidth, int32_t screenHeight, RandomGenerator& random);

    // Three draws: the place (two, spread over the desktop), then the heading.
    void Reset(const DesktopArea& desktop, RandomGenerator& random);
    void Reset(int32_t screenWidth, int32_t screenHeight, RandomGenerator& random);
    // One frame by state: walk (kept on the monitors) or rise (up to the top of the work area of
    // the monitor it is on).
    void Step(const DesktopArea& desktop, RandomGenerator& random);
    void Step(int32_t screenWidth, int32_t screenHeight, RandomGenerator& random);
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

// When the stray ant may come out: once per run, only after the delay since the run began and
// once the shell has made its windows, then with a chance of 1 in kStrayOneIn per frame (1 in
// oneIn).
class StrayAntGate {
  public:
    StrayAntGate(uint32_t runStart, uint32_t delayMs, uint32_t oneIn = kStrayOneIn)
        : runStart_(runStart), delayMs_(delayMs), oneIn_(oneIn > 0 ? oneIn : 1) {}

    // The test of one frame. The random draw is made only when the ant may still come out, the
    // windows are ready and more than the delay has passed; a true result closes the gate.
    bool Opens(uint32_t now, bool windowsReady, RandomGenerator& random);
    bool MayAppear() const { return mayAppear_; }

  private:
    uint32_t runStart_;
    uint32_t delayMs_;
    uint32_t oneIn_;
    bool mayAppear_ = true;
};

// What the stray ant's windows are to show, published by the simulation thread in one atomic word
// and read by the window thread, so a reader never sees the position of one frame with the cell of
// another.
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
