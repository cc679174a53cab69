// The cost of the 49 ant steps of one frame, on the default field and on a 4000 x 3000 one.
#include <benchmark/benchmark.h>

#include "colony/AntColony.h"
#include "colony/ColonyStepper.h"
#include "colony/FieldMask.h"
#include "colony/SharedWorld.h"
#include "simulation/WorldRules.h"

namespace {
void StepFrame(benchmark::State& state) {
    ColonyShared world;
    const int32_t w = static_cast<int32_t>(state.range(0));
    const int32_t h = static_cast<int32_t>(state.range(1));
    world.random.Seed(20261207);
    FieldMask mask;
    mask.Allocate(w, h);
    BuildWalkMask(mask);
    world.fieldWidth = w;
    world.fieldHeight = h;
    int32_t gx = 0, gy = 0, bx = 0, by = 0;
    WorldRules::PlaceGoal(world.random, w, h, gx, gy);
    WorldRules::PlaceBall(world.random, bx, by);
    world.goalX = gx;
    world.goalY = gy;
    world.ballX = bx;
    world.ballY = by;
    AntColony ants;
    BuildColony(ants, world, w, h);
    int64_t frames = 0;
    for (auto _ : state) {
        // A happy ant walks on, so that every frame steps all 49.
        ColonyStepper::StepFrame(ants, mask, nullptr, [](int32_t, Ant& ant) { ant.active = 1; });
        // A throw now and then keeps the ants walking instead of resting at home.
        if (++frames % 200 == 0) {
            WorldRules::PlaceBall(world.random, bx, by);
            world.ballX = bx + static_cast<int32_t>(frames / 200 % 2) * (w / 2);
            world.ballY = by;
            BuildWalkMask(mask);
            world.arrivalSeen = 0;
        }
    }
    state.counters["frames"] = static_cast<double>(frames);
}
BENCHMARK(StepFrame)->Args({455, 312})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
