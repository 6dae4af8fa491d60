#include <benchmark/benchmark.h>

#include "world_bench_support.h"

namespace {

// How a pass without painting senses: every beam to its end (as before the early
// stop, and as a painted frame still needs), or each beam only as long as it can win.
enum Marching { kEveryBeamToItsEnd, kEarlyStop };

void SenseWithoutPainting(benchmark::State& state, RobotSimulation& sim)
{
    const bool earlyStop = state.range(0) == kEarlyStop;
    for (auto _ : state) {
        if (earlyStop)
            sim.Sense(false);
        else
            sim.SenseEveryBeamToItsEnd(false);
        benchmark::DoNotOptimize(sim.sectorDistance);
    }
}

}  // namespace

// The robot at its start position, all 180 beams of the three sectors.
static void SenseGeneratedArena(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    SenseWithoutPainting(state, *sim);
}
BENCHMARK(SenseGeneratedArena)->ArgName("earlyStop")->Arg(kEveryBeamToItsEnd)->Arg(kEarlyStop)->Unit(benchmark::kMicrosecond);

// Only the two borders: every beam runs to the wall, the longest a pass can cast.
static void SenseBordersOnly(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    sim->GenerateArena(10.0, 0);
    SenseWithoutPainting(state, *sim);
}
BENCHMARK(SenseBordersOnly)->ArgName("earlyStop")->Arg(kEveryBeamToItsEnd)->Arg(kEarlyStop)->Unit(benchmark::kMicrosecond);

static void SenseBordersOnlyPaintingBeams(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    sim->GenerateArena(10.0, 0);
    for (auto _ : state) {
        sim->Sense(true);
        benchmark::DoNotOptimize(sim->canvas.data);
    }
}
BENCHMARK(SenseBordersOnlyPaintingBeams)->Unit(benchmark::kMicrosecond);
