#include <benchmark/benchmark.h>

#include <vector>

#include "WorldBenchSupport.h"

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
BENCHMARK(SenseGeneratedArena)
    ->ArgName("earlyStop")
    ->Arg(kEveryBeamToItsEnd)
    ->Arg(kEarlyStop)
    ->Unit(benchmark::kMicrosecond);

// The poses of a real run one after the other, so the beams are as long as a run
// meets them and last pass's shortest beam is as good a guess as in a run.
static void SenseAlongARun(benchmark::State& state)
{
    struct Pose {
        double x, y, heading;
    };
    auto sim = MakeBenchWorld(42);
    std::vector<Pose> poses;
    for (int pass = 0; pass < 3000; ++pass) {
        RunPass(*sim);
        poses.push_back({sim->centerX, sim->centerY, sim->heading});
    }
    std::size_t next = 0;
    const bool earlyStop = state.range(0) == kEarlyStop;
    for (auto _ : state) {
        const Pose& pose = poses[next];
        next = (next + 1) % poses.size();
        sim->centerX = pose.x;
        sim->centerY = pose.y;
        sim->heading = pose.heading;
        if (earlyStop)
            sim->Sense(false);
        else
            sim->SenseEveryBeamToItsEnd(false);
        benchmark::DoNotOptimize(sim->sectorDistance);
    }
}
BENCHMARK(SenseAlongARun)
    ->ArgName("earlyStop")
    ->Arg(kEveryBeamToItsEnd)
    ->Arg(kEarlyStop)
    ->Unit(benchmark::kMicrosecond);

// Only the two borders: every beam runs to the wall, the longest a pass can cast.
static void SenseBordersOnly(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    sim->GenerateArena(10.0, 0);
    SenseWithoutPainting(state, *sim);
}
BENCHMARK(SenseBordersOnly)
    ->ArgName("earlyStop")
    ->Arg(kEveryBeamToItsEnd)
    ->Arg(kEarlyStop)
    ->Unit(benchmark::kMicrosecond);

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
