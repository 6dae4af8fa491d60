#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include "world_bench_support.h"

// The robot at its start position, all 183 beams, without painting them.
static void SenseGeneratedArena(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    for (auto _ : state) {
        sim->Sense(false);
        benchmark::DoNotOptimize(sim->sectorDistance);
    }
}
BENCHMARK(SenseGeneratedArena)->Unit(benchmark::kMicrosecond);

// Only the two borders: every beam runs to the wall, the longest a pass can cast.
static void SenseBordersOnly(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    sim->GenerateArena(10.0, 0);
    for (auto _ : state) {
        sim->Sense(false);
        benchmark::DoNotOptimize(sim->sectorDistance);
    }
}
BENCHMARK(SenseBordersOnly)->Unit(benchmark::kMicrosecond);

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
