// The program's one pseudo-random generator: values 0..32767, the same sequence on every
// platform and compiler for a given seed. Both threads may draw from it.
#pragma once

#include <cstdint>

constexpr int32_t kRandomMax = 32767;

// Starts the sequence again from seed (the simulation passes the calendar time in seconds).
void SeedRandom(uint32_t seed);

// The next value, 0..32767. Every random decision of the program is Random() % n.
int32_t Random();
