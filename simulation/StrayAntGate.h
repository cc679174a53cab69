// When the stray ant may come out: once per run, only after the delay since the run began and
// once the shell has made its windows, then with a chance of 1 in 100 per frame (1 in oneIn).
#pragma once

#include <cstdint>

#include "base/Geometry.h"

class StrayAntGate {
  public:
    StrayAntGate(uint32_t runStart, uint32_t delayMs, uint32_t oneIn = kStrayOneIn)
        : runStart_(runStart), delayMs_(delayMs), oneIn_(oneIn > 0 ? oneIn : 1) {}
    virtual ~StrayAntGate() = default;

    // The test of one frame. The random draw is made only when the ant may still come out, the
    // windows are ready and more than the delay has passed; a true result closes the gate.
    bool Opens(uint32_t now, bool windowsReady);
    bool MayAppear() const { return mayAppear_; }

  private:
    uint32_t runStart_;
    uint32_t delayMs_;
    uint32_t oneIn_;
    bool mayAppear_ = true;
};
