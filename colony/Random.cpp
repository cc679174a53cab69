// The classic linear congruential generator, kept in one atomic word so that a draw from the
// window thread and one from the simulation thread never lose or repeat a step.
#include "colony/Random.h"

#include <atomic>

namespace {
std::atomic<uint32_t> g_state{1};
}

void SeedRandom(uint32_t seed) {
    g_state.store(seed);
}

int32_t Random() {
    uint32_t old = g_state.load();
    uint32_t next = 0;
    do {
        next = old * 214013u + 2531011u;
    } while (!g_state.compare_exchange_weak(old, next));
    return static_cast<int32_t>((next >> 16) & 0x7FFFu);
}
