// The desktop's hand-over between the two threads.
#include "simulation/DesktopShare.h"

#include "base/Geometry.h"

class DesktopShare::Lock {
  public:
    explicit Lock(std::atomic_flag& flag) : flag_(flag) {
        while (flag_.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Lock() { flag_.clear(std::memory_order_release); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    std::atomic_flag& flag_;
};

DesktopShare::DesktopShare() : published_({}, kAntCell), current_({}, kAntCell) {}

void DesktopShare::Publish(const DesktopArea& desktop) {
    Lock lock(lock_);
    published_ = desktop;
    version_.fetch_add(1);
}

const DesktopArea& DesktopShare::Current() {
    if (version_.load() != currentVersion_) {
        Lock lock(lock_);
        current_ = published_;
        currentVersion_ = version_.load();
    }
    return current_;
}
