// When the stray ant may come out: once per run, only after the delay since the run began and
// once the shell has made its windows, then with a chance of 1 in 100 per frame.
#pragma once

#include <cstdint>

class StrayAntGate {
  public:
    StrayAntGate(uint32_t runStart, uint32_t delayMs) : runStart_(runStart), delayMs_(delayMs) {}
    virtual ~StrayAntGate() = default;

    // The test of one frame. The random draw is made only when the ant may still come out, the
    // windows are ready and more than the delay has passed; a true result closes the gate.
    bool Opens(uint32_t now, bool windowsReady);
    bool MayAppear() const { return mayAppear_; }

  private:
    uint32_t runStart_;
    uint32_t delayMs_;
    bool mayAppear_ = true;
};
