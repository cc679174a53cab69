// The stray ant's once-per-run appearance test.
#include "simulation/StrayAntGate.h"

#include "colony/Random.h"

bool StrayAntGate::Opens(uint32_t now, bool windowsReady) {
    if (!mayAppear_ || !windowsReady || now - runStart_ <= delayMs_) {
        return false;
    }
    if (Random() % oneIn_ != 0) {
        return false;
    }
    mayAppear_ = false;
    return true;
}
