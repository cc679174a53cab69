// Everything the window thread and the simulation thread share, in one place, each field with
// the rule by which it is shared. Its owner keeps one for the life of the process and hands it
// to both threads by reference. Kept elsewhere: the main window the simulation thread posts to
// (SimulationLinks, fixed before the thread starts, like the settings), the world's images and
// the stray-ant record (World.h: leased, freed by whichever thread lets go second).
//
// The rules:
//  - atomic: one 32-bit word, read and written whole; a reader takes each at most once per use.
//    Where the order of two writes matters the writer says why.
//  - lock: the background name is copied under its own small lock (a name is not one word).
//  - fixed: set before the simulation thread starts, read-only while it runs.
//  - published: the stray ant's pose goes over in one atomic word (StrayAntView).
//  - handed over: the desktop of monitors is published whole by the window thread and taken by
//    the simulation thread at the top of a stray-ant frame (DesktopShare).
//  - claimed: a notice posted to the main window is claimed by the simulation thread before it
//    posts and acknowledged by the window thread as it takes it (PendingNotice).
// The frame's pixels are shared under the frame lock (FrameHandOff.h), not here.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/Geometry.h"
#include "base/PixelScale.h"
#include "colony/SharedWorld.h"
#include "simulation/DesktopShare.h"
#include "simulation/PendingNotice.h"
#include "simulation/StrayAnt.h"

constexpr int kPathBytes = 256;
// The background name that stands for the built-in dry leaves (an exact, case-sensitive match).
constexpr char kBuiltInBackground[] = "Resource";

// The long waits of a run, in milliseconds (fixed). The program keeps the defaults; tests
// shorten them.
struct SimulationTimings {
    uint32_t splashPauseMs = kSplashPauseMs;
    uint32_t strayDelayMs = kStrayDelayMs;
    uint32_t endingMs = kEndingMs;
    uint32_t strayOneIn = kStrayOneIn;
};

class SharedState {
  public:
    SharedState() = default;
    SharedState(const SharedState&) = delete;
    SharedState& operator=(const SharedState&) = delete;

    // Atomic. The ball, goal, field size, throw flags and the run's random sequence, handed to
    // the colony by reference.
    ColonyShared colony;

    // Atomic, set by the window thread, read by the simulation thread once per frame.
    SharedInt running{0};                 // the loop may continue; cleared by Exit
    SharedInt exitRequested{0};           // the user chose Exit; set before running is cleared
    SharedInt frameWaitMs{kFrameWaitMs};  // minimum frame period: kFrameWaitMs or 0
    SharedInt hideTrails{0};              // trails are not drawn
    SharedInt followBall{1};              // the lens view is centred on the ball
    SharedInt viewX{0};                   // top-left field pixel of the free view
    SharedInt viewY{0};
    SharedInt ballSpeed{0};  // pixels per frame of a thrown ball; written before ballFlying
    SharedInt ballAngle{0};  // degrees, 0 right, 90 down; written before ballFlying
    // Whether the main window has the keyboard focus, and Escape counts: kFocusNone,
    // kFocusKeysLive or kFocusUntilReleased (Keyboard.h). The simulation thread moves it only
    // from the last to the second, by compare-and-swap, so a focus lost meanwhile stays lost.
    SharedInt hasFocus{0};
    // Set by the window thread when the user lets go of the ball, after ballFlying; the
    // simulation thread rebuilds the field mask and resets arrivalSeen at the top of its next
    // frame, before any ant steps, so that the rebuild never runs under a step.
    SharedInt maskRebuildRequested{0};
    // Set once by WinMain when the stray-ant record, its windows and their shapes exist; the
    // simulation thread lets the stray ant out only after that.
    SharedInt shellReady{0};
    // The whole-pixel scale S (1..4) the glass, the splash and the stray ant's windows are drawn
    // at on the screen: set by the window thread at start-up, from the size menu and when the
    // glass moves to a monitor of another DPI. The simulation itself stays in field pixels.
    SharedInt displayScale{1};
    PixelScale Scale() const { return PixelScale(displayScale.load()); }

    // Atomic, set by the simulation thread, read by the window thread.
    SharedInt splashDone{0};      // the splash has been handed over
    SharedInt happyCount{0};      // happy ants, less one while the stray ant is out
    SharedInt strayAntActive{0};  // the stray ant is out; set after happyCount went down

    // Published by the simulation thread, read by the window thread when it places the stray
    // ant's windows. The record behind the pose (World::strayRecord) is made by WinMain before
    // the simulation thread starts and freed with the world's images by the lease. Only the
    // simulation thread moves it; the click changes only its state (1 -> 2, atomically).
    StrayAntView strayShown;
    // Handed over. The monitors' work areas the stray ant walks, published by the window thread
    // before the simulation thread starts and again whenever the monitors or their work areas
    // change; the simulation thread reads only its own copy (Current).
    DesktopShare desktop;

    // Claimed. WM_FRAMEREADY, posted after each frame composed while the magnifier shows; the
    // window thread paints the lens square from the world's frame when it takes it.
    PendingNotice frameNotice;
    // Claimed. WM_STRAYMOVED, posted after each new stray-ant pose; the window thread places
    // the stray ant's windows when it takes it.
    PendingNotice strayPlacement;

    // Fixed.
    SimulationTimings timings;

    // Atomic: a new background waits in the name. The window thread hands a new name over with
    // RequestBackground (name, then backgroundChanged := 1); the simulation thread takes it
    // with TakeBackgroundRequest, which copies the name and clears backgroundChanged in one step
    // under the lock (false when no request waits), so a second drop never tears the first.
    SharedInt backgroundChanged{0};
    void RequestBackground(const char* name);
    bool TakeBackgroundRequest(char (&name)[kPathBytes]);
    // The current name, as read from the settings (start-up) or last requested.
    void GetBackgroundFileName(char (&name)[kPathBytes]);
    void SetBackgroundFileName(const char* name);

  private:
    class NameLock;
    char backgroundName_[kPathBytes] = "Resource";  // kBuiltInBackground
    std::atomic_flag nameLock_ = ATOMIC_FLAG_INIT;
};
