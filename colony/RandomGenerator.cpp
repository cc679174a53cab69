// The classic linear congruential generator, kept in one atomic word so that a draw from the
// window thread and one from the simulation thread never lose or repeat a step.
#include "colony/RandomGenerator.h"

int32_t RandomGenerator::Next() {
    uint32_t old = state_.load();
    uint32_t next = 0;
    do {
        next = old * 214013u + 2531011u;
    } while (!state_.compare_exchange_weak(old, next));
    return static_cast<int32_t>((next >> 16) & 0x7FFFu);
}
