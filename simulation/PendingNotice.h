// A notice of which at most one waits in the window's queue (a new frame, a new stray-ant pose).
// The poster claims it before posting, so a change that comes while a notice waits is taken up
// by that notice; the window thread acknowledges it as it takes the notice, before it reads, so
// the next change posts anew.
#pragma once

#include <atomic>
#include <cstdint>

class PendingNotice {
  public:
    PendingNotice() = default;
    PendingNotice(const PendingNotice&) = delete;
    PendingNotice& operator=(const PendingNotice&) = delete;

    // True when none waited: the caller posts now, and withdraws the claim if the post fails.
    bool Claim() { return waiting_.exchange(1) == 0; }
    void Withdraw() { waiting_ = 0; }
    void Acknowledge() { waiting_ = 0; }

  private:
    std::atomic<int32_t> waiting_{0};
};
