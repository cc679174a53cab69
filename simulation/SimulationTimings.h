// The long waits of a run, in milliseconds. The program keeps the defaults; tests shorten them.
#pragma once

#include <cstdint>

struct SimulationTimings {
    uint32_t splashPauseMs = 3000;  // after the first frame, before the main window shows
    uint32_t strayDelayMs = 10000;  // no stray ant before this much of the run has passed
    uint32_t endingMs = 2000;       // closing animation before the thank-you box
    uint32_t strayOneIn = 100;      // after the delay, a chance of 1 in this per frame
};

extern SimulationTimings RunTimings;
