// The long waits a run starts with (the splash's pause, the stray ant's delay and odds), chosen
// once by WinMain before any thread reads them. kirelo.exe keeps the defaults (RunTimings.cpp);
// the CPU benchmark's build links a definition of its own instead, which takes them from its
// environment, so that the shipped program carries no such hook.
#pragma once

#include "simulation/SharedState.h"

void ChooseRunTimings(SimulationTimings& timings);
