#include <benchmark/benchmark.h>

#include "WorldBenchSupport.h"

static void GenerateArena(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    for (auto _ : state) {
        sim->GenerateArena(10.0, 12);
        benchmark::DoNotOptimize(sim->freeMap.data);
    }
}
BENCHMARK(GenerateArena)->Unit(benchmark::kMicrosecond);
