// The stray ant as both threads see it: the record that the simulation thread walks, and the pose
// it publishes for the window thread, which places the windows and handles the click.
#pragma once

#include "simulation/StrayAnt.h"

// Made by WinMain before the simulation thread starts; freed with the world's images by the
// lease. Only the simulation thread moves it; the click changes only its state (1 -> 2,
// atomically).
extern StrayAnt* StrayAntRecord;
// What the stray ant's windows show now.
extern StrayAntView StrayAntShown;
