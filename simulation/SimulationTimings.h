// The long waits of a run, in milliseconds. The program keeps the defaults; tests shorten them.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

struct SimulationTimings {
    uint32_t splashPauseMs = kSplashPauseMs;
    uint32_t strayDelayMs = kStrayDelayMs;
    uint32_t endingMs = kEndingMs;
    uint32_t strayOneIn = kStrayOneIn;
};

extern SimulationTimings RunTimings;
