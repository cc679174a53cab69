// The run timings of kirelo_bench.exe (in place of the shipped ones): KIRELO_BENCH_STRAY_MS sets
// when the stray ant comes out, for certain, so the CPU benchmark can measure the phases before and
// after it; KIRELO_BENCH_SPLASH_MS shortens the splash, so that a test that starts the program many
// times (e2e_monitors.sh) sees the stray ant soon after each start.
#include <cstdlib>

#include "shell/RunTimings.h"

namespace {
bool ReadMs(const char* name, uint32_t& ms) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == nullptr || *end != '\0') {
        return false;
    }
    ms = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

void ChooseRunTimings(SimulationTimings& timings) {
    if (ReadMs("KIRELO_BENCH_STRAY_MS", timings.strayDelayMs)) {
        timings.strayOneIn = 1;
    }
    ReadMs("KIRELO_BENCH_SPLASH_MS", timings.splashPauseMs);
}
