// Storage of the stray ant that both threads see.
// The record is created and freed elsewhere; the pose starts hidden.
#include "simulation/StrayAntShared.h"

StrayAnt* StrayAntRecord = nullptr;
StrayAntView StrayAntShown;
