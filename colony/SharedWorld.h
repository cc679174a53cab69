// The values of the ant world that the window thread and the simulation thread both see: the
// ball, the goal, the field size, the throw flags and the run's random sequence. Each is one
// atomic 32-bit word, read and written whole; where the order of two writes matters, the writer
// says why. The simulation owns one of these (in its SharedState) and hands it to the colony by
// reference.
#pragma once

#include <atomic>
#include <cstdint>

#include "colony/RandomGenerator.h"

using SharedInt = std::atomic<int32_t>;

struct ColonyShared {
    SharedInt ballX{0};  // centre of the ball, the ants' home, field pixels
    SharedInt ballY{0};
    SharedInt goalX{0};  // centre of the goal circle (kGoalRadius)
    SharedInt goalY{0};
    SharedInt fieldWidth{0};  // size of the current background picture
    SharedInt fieldHeight{0};
    SharedInt ballGrabbed{0};  // 0 idle, 1 pressed on the ball, 2 aiming
    SharedInt ballFlying{0};   // 1 while a thrown ball moves
    SharedInt arrivalSeen{0};  // 0: every arrival commits its trail; 1: one in five
    // The run's one sequence: the ants, the goal and ball, the stray ant draw from it in one
    // order, so a seed replays a run. Atomic: both threads draw from it (the window thread the
    // stray ant's start, before the simulation thread exists), and a draw, whoever makes it,
    // takes exactly one step of the sequence.
    RandomGenerator random;
};
