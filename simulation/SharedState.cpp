// The background-name hand-over between the two threads.
#include "simulation/SharedState.h"

#include <cstring>

namespace {
void CopyName(char* dst, const char* src) {
    std::strncpy(dst, src != nullptr ? src : "", kPathBytes - 1);
    dst[kPathBytes - 1] = '\0';
}
}  // namespace

class SharedState::NameLock {
  public:
    explicit NameLock(std::atomic_flag& flag) : flag_(flag) {
        while (flag_.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~NameLock() { flag_.clear(std::memory_order_release); }
    NameLock(const NameLock&) = delete;
    NameLock& operator=(const NameLock&) = delete;

  private:
    std::atomic_flag& flag_;
};

void SharedState::SetBackgroundFileName(const char* name) {
    NameLock lock(nameLock_);
    CopyName(backgroundName_, name);
}

void SharedState::GetBackgroundFileName(char (&name)[kPathBytes]) {
    NameLock lock(nameLock_);
    CopyName(name, backgroundName_);
}

void SharedState::RequestBackground(const char* name) {
    NameLock lock(nameLock_);
    CopyName(backgroundName_, name);
    backgroundChanged.store(1);
}

bool SharedState::TakeBackgroundRequest(char (&name)[kPathBytes]) {
    // Name and flag are taken together: a drop that arrives while the field reloads sets the
    // flag again and is loaded in the next frame instead of being cleared unseen.
    NameLock lock(nameLock_);
    if (backgroundChanged.load() == 0) {
        return false;
    }
    CopyName(name, backgroundName_);
    backgroundChanged.store(0);
    return true;
}
