#include <benchmark/benchmark.h>

#include "world_bench_support.h"

// Whole headless passes of a run; a fresh run every 3000 passes keeps the robot in
// the situations a real run meets instead of wherever it drifts to.
static void HeadlessPass(benchmark::State& state)
{
    const bool drawRobot = state.range(0) != 0;
    auto sim = MakeBenchWorld(42);
    int passes = 0;
    for (auto _ : state) {
        if (++passes == 3000) {
            state.PauseTiming();
            sim = MakeBenchWorld(42);
            passes = 0;
            state.ResumeTiming();
        }
        RunPass(*sim, drawRobot, false);
        benchmark::DoNotOptimize(sim->steer);
    }
}
BENCHMARK(HeadlessPass)->ArgName("drawRobot")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
