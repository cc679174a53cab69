// The desktop of monitors handed from the window thread to the simulation thread. The window
// thread reads the monitors (at start, and when they or their work areas change) and publishes a
// copy under a small lock; the simulation thread takes the newest copy at its own safe point, the
// top of a stray-ant frame, and then works on its own copy without any lock or system call.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/DesktopArea.h"

class DesktopShare {
  public:
    DesktopShare();
    DesktopShare(const DesktopShare&) = delete;
    DesktopShare& operator=(const DesktopShare&) = delete;

    // Window thread.
    void Publish(const DesktopArea& desktop);
    // Whether anything was published yet.
    bool Published() const { return version_.load() != 0; }
    // Simulation thread only: its own copy, brought up to date first when a newer one waits.
    const DesktopArea& Current();

  private:
    class Lock;
    std::atomic_flag lock_ = ATOMIC_FLAG_INIT;
    std::atomic<uint32_t> version_{0};  // raised by each Publish, after the copy is in place
    DesktopArea published_;             // under the lock
    DesktopArea current_;               // the simulation thread's
    uint32_t currentVersion_ = 0;       // the simulation thread's
};
