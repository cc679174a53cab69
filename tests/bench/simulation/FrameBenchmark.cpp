// The cost of one whole frame under real GDI: the 49 ant steps, the hearts and the lens's
// composition, on the default field, on a 4000 x 3000 one and on one at the size limit, and the
// memory a reload to the limit takes. Run with wine; prints microseconds per frame and mebibytes.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "base/ImageLimits.h"
#include "colony/ColonyStepper.h"
#include "imaging/DIBImage.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "simulation/LensRenderer.h"
#include "simulation/RunReports.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"
#include "simulation/SimulationRun.h"

namespace {
// The benchmark's world and shared state, as the program's owner keeps them.
World world;
SharedState shared;

double NowUs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

void Measure(LensRenderer& lens, const char* label, int frames) {
    double stepsUs = 0;
    double composeUs = 0;
    for (int k = 0; k < frames; ++k) {
        const double t0 = NowUs();
        ColonyStepper::StepFrame(*world.ants, *world.mask, &shared.backgroundChanged,
                                 [](int32_t index, Ant& ant) {
                                     Heart* heart = world.hearts->At(index);
                                     heart->x = ant.x;
                                     heart->y = ant.y;
                                     heart->visible = 1;
                                     ant.active = 1;  // walks on: every frame steps all 49
                                 });
        world.hearts->Animate();
        const double t1 = NowUs();
        lens.Compose();
        const double t2 = NowUs();
        stepsUs += t1 - t0;
        composeUs += t2 - t1;
    }
    std::printf("%-22s steps %8.1f us  compose %8.1f us  frame %8.1f us  (%d frames)\n", label,
                stepsUs / frames, composeUs / frames, (stepsUs + composeUs) / frames, frames);
}

// The process's working set now and at its highest so far, in MiB.
void PrintMemory(const char* label) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        std::printf("%-34s working set %6.1f MiB  peak %6.1f MiB\n", label,
                    counters.WorkingSetSize / 1048576.0, counters.PeakWorkingSetSize / 1048576.0);
    }
}

std::string WriteBigBmp(int w, int h) {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "kirelo_bench_field.bmp";
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride) * h;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::string row(static_cast<size_t>(stride), '\x60');
    for (int y = 0; y < h; ++y) {
        std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
    return path;
}

// A run that nobody listens to.
class SilentReports final : public RunReports {
  public:
    void BackgroundReplaced(const char*) override {}
    void RunEnded() override {}
};
}  // namespace

int main() {
    shared.SetBackgroundFileName("Resource");
    world.CreateImages();
    SilentReports reports;
    SimulationRun run({world, shared, nullptr, reports});
    run.StartUp();
    LensRenderer lens(world, shared);
    Measure(lens, "default field 455x312", 2000);
    const std::string big = WriteBigBmp(4000, 3000);
    if (lens.ReloadBackground(big.c_str(), reports) == 1) {
        BuildColony(*world.ants, shared.colony, shared.colony.fieldWidth,
                    shared.colony.fieldHeight);
        Measure(lens, "field 4000x3000", 2000);
    }
    // The largest reload there is: from a large field to one at the limit.
    PrintMemory("field 4000x3000");
    const std::string edge = WriteBigBmp(kMaxImageSide, kMaxImageSide);
    if (lens.ReloadBackground(edge.c_str(), reports) == 1) {
        PrintMemory("after the reload to 4096x4096");
        BuildColony(*world.ants, shared.colony, shared.colony.fieldWidth,
                    shared.colony.fieldHeight);
        Measure(lens, "field 4096x4096", 2000);
    }
    world.DestroyRunParts();
    world.ReleaseLease();
    world.ReleaseLease();
    DeleteFileA(big.c_str());
    return 0;
}
