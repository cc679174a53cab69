// The shipped program's choice: the waits it was designed with.
#include "shell/RunTimings.h"

void ChooseRunTimings(SimulationTimings&) {}
