// Storage of the run's long waits.
#include "simulation/SimulationTimings.h"

SimulationTimings RunTimings;
