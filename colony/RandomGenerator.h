// The program's pseudo-random generator: values 0..32767, the same sequence on every platform and
// compiler for a given seed. One instance is the run's sequence; both threads may draw from it.
#pragma once

#include <atomic>
#include <cstdint>

constexpr int32_t kRandomMax = 32767;

class RandomGenerator {
  public:
    RandomGenerator() = default;
    RandomGenerator(const RandomGenerator&) = delete;
    RandomGenerator& operator=(const RandomGenerator&) = delete;

    // Starts the sequence again from seed (the simulation passes the calendar time in seconds).
    void Seed(uint32_t seed) { state_.store(seed); }

    // The next value, 0..kRandomMax. Every random decision of the program is Next() % n.
    int32_t Next();

  private:
    std::atomic<uint32_t> state_{1};
};
