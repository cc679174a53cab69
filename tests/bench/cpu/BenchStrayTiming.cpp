// Start-up hook linked only into kirelo_bench.exe: KIRELO_BENCH_STRAY_MS sets when the stray ant
// comes out, for certain, so the CPU benchmark can measure the phases before and after it.
#include <cstdlib>

#include "simulation/SimulationRun.h"

namespace {
// Runs before WinMain; Shared.timings is constant-initialised, so it is already in place.
struct StrayAtAKnownTime {
    StrayAtAKnownTime() {
        const char* text = std::getenv("KIRELO_BENCH_STRAY_MS");
        if (text == nullptr || *text == '\0') {
            return;
        }
        char* end = nullptr;
        const unsigned long ms = std::strtoul(text, &end, 10);
        if (end != nullptr && *end == '\0') {
            Shared.timings.strayDelayMs = static_cast<uint32_t>(ms);
            Shared.timings.strayOneIn = 1;
        }
    }
};

const StrayAtAKnownTime g_strayAtAKnownTime;
}  // namespace
