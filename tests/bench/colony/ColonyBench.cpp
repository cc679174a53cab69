// How long the ant world takes: a frame of 49 walking ants on the default field with committed
// trails around them, and the rebuild of the mask for the default and for a very large picture.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "colony/AntColony.h"
#include "colony/ColonyStepper.h"
#include "colony/FieldMask.h"
#include "colony/SharedWorld.h"

namespace {

constexpr int32_t kWidth = 455;
constexpr int32_t kHeight = 312;

// Trails as arrivals leave them: long roads of plain cells with about 7 % strong ones.
void LayTrails(FieldMask& mask, RandomGenerator& random) {
    for (int32_t road = 0; road < 12; ++road) {
        int32_t x = 40 + random.Next() % 360;
        int32_t y = 40 + random.Next() % 230;
        for (int32_t i = 0; i < 300; ++i) {
            if (mask.At(x, y) != CellBlocked) {
                mask.At(x, y) = random.Next() % 100 < 7 ? CellStrongTrail : CellTrail;
            }
            Advance(random.Next() % 8, x, y);
            x = x < 30 ? 30 : (x > 424 ? 424 : x);
            y = y < 30 ? 30 : (y > 281 ? 281 : y);
        }
    }
}

// Walking ants scattered over the field, far from the ball, as after a throw.
void Scatter(AntColony& ants, RandomGenerator& random) {
    for (int32_t i = 1; i < ants.Count(); ++i) {
        Ant* ant = ants.At(i);
        ant->active = 1;
        ant->x = 40 + random.Next() % 370;
        ant->y = 40 + random.Next() % 230;
        ant->trail.Clear();
    }
}

void BM_ColonyFrame(benchmark::State& state) {
    ColonyShared shared;
    shared.random.Seed(12345);
    shared.fieldWidth = kWidth;
    shared.fieldHeight = kHeight;
    FieldMask mask;
    mask.Allocate(kWidth, kHeight);
    BuildWalkMask(mask);
    LayTrails(mask, shared.random);
    shared.goalX = 380;
    shared.goalY = 250;
    shared.ballX = 60;
    shared.ballY = 60;
    shared.ballGrabbed = 0;
    shared.ballFlying = 0;
    shared.arrivalSeen = 1;
    AntColony ants;
    BuildColony(ants, shared, kWidth, kHeight);
    Scatter(ants, shared.random);
    int64_t frames = 0;
    for (auto _ : state) {
        ColonyStepper::StepFrame(ants, mask, nullptr, nullptr);
        // Every few seconds of play the world is stirred again so that the ants keep walking
        // instead of resting at home.
        if (++frames % 200 == 0) {
            state.PauseTiming();
            BuildWalkMask(mask);
            LayTrails(mask, shared.random);
            Scatter(ants, shared.random);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * 49);
}
BENCHMARK(BM_ColonyFrame)->Unit(benchmark::kMicrosecond);

void BM_BuildWalkMask(benchmark::State& state) {
    FieldMask mask;
    mask.Allocate(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    for (auto _ : state) {
        BuildWalkMask(mask);
        benchmark::DoNotOptimize(mask.Cells());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_BuildWalkMask)->Args({455, 312})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
