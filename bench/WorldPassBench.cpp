#include <benchmark/benchmark.h>

#include "WorldBenchSupport.h"

namespace {

// What a headless pass cost before the early stop (the runner painted the robot on
// every pass, the tuner did not; both marched every beam to its end) and what it
// costs now that nothing paints for nobody.
enum PassKind { kRunnerBefore, kTunerBefore, kNow };

void OnePass(RobotSimulation& sim, PassKind kind)
{
    if (kind == kNow) {
        RunPass(sim);
        return;
    }
    sim.Step();
    sim.UpdateCollision();
    if (kind == kRunnerBefore) sim.DrawRobot(false);
    sim.SenseEveryBeamToItsEnd(false);
    sim.ComputeCommand();
}

}  // namespace

// Whole headless passes of a run; a fresh run every 3000 passes keeps the robot in
// the situations a real run meets instead of wherever it drifts to.
static void HeadlessPass(benchmark::State& state)
{
    const auto kind = static_cast<PassKind>(state.range(0));
    auto sim = MakeBenchWorld(42);
    int passes = 0;
    for (auto _ : state) {
        if (++passes == 3000) {
            state.PauseTiming();
            sim = MakeBenchWorld(42);
            passes = 0;
            state.ResumeTiming();
        }
        OnePass(*sim, kind);
        benchmark::DoNotOptimize(sim->steer);
    }
}
BENCHMARK(HeadlessPass)
    ->ArgName("kind")
    ->Arg(kRunnerBefore)
    ->Arg(kTunerBefore)
    ->Arg(kNow)
    ->Unit(benchmark::kMicrosecond);
