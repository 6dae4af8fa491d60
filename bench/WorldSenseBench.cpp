#include <benchmark/benchmark.h>

#include <vector>

#include "WorldBenchSupport.h"

namespace {

// How a pass without painting senses: every beam to its end (as a painted frame still
// needs), or each beam only as long as it can win, one beam at a time or two per SSE2
// vector; with or without each sector's previous shortest beam cast first; and, as
// runs do, with the beams the clearance proves longer not cast at all.
enum SensePath {
    kEveryBeamToItsEnd,
    kOneBeamAtATime,
    kSse2,
    kSse2WithoutLikelyWinnerFirst,
    kSse2DismissingByClearance,
};

void SenseOnce(RobotSimulation& sim, SensePath path)
{
    switch (path) {
    case kEveryBeamToItsEnd:
        sim.SenseEveryBeamToItsEnd(false);
        return;
    case kSse2WithoutLikelyWinnerFirst:
        for (int& beam : sim.shortestBeam) beam = -1;
        break;
    default:
        break;
    }
    sim.Sense(false);
}

// Runs sense, which senses once from wherever it puts the robot, and reports the beam
// positions a sense reaches and the time each costs.
template <class Sense>
void Measure(benchmark::State& state, RobotSimulation& sim, Sense sense)
{
    const auto path = static_cast<SensePath>(state.range(0));
    sim.beamVectors = path == kOneBeamAtATime ? BeamVectors::kNone : BeamVectors::kSse2;
    if (path == kSse2DismissingByClearance)
        sim.beamClearance.Build(sim.arena);
    else
        sim.beamClearance.Clear();
    const long long before = sim.beamPositionsReached;
    for (auto _ : state) {
        sense(path);
        benchmark::DoNotOptimize(sim.sectorDistance);
    }
    const auto positions = static_cast<double>(sim.beamPositionsReached - before);
    state.counters["steps"] = benchmark::Counter(positions, benchmark::Counter::kAvgIterations);
    state.counters["s/step"] = benchmark::Counter(positions, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void AddPaths(benchmark::internal::Benchmark* bench)
{
    bench->ArgName("path")->Unit(benchmark::kMicrosecond);
    for (int path = kEveryBeamToItsEnd; path <= kSse2DismissingByClearance; ++path) bench->Arg(path);
}

}  // namespace

// The robot at its start position, all 180 beams of the three sectors.
static void SenseGeneratedArena(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    Measure(state, *sim, [&](SensePath path) { SenseOnce(*sim, path); });
}
BENCHMARK(SenseGeneratedArena)->Apply(AddPaths);

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
    Measure(state, *sim, [&](SensePath path) {
        const Pose& pose = poses[next];
        next = (next + 1) % poses.size();
        sim->centerX = pose.x;
        sim->centerY = pose.y;
        sim->heading = pose.heading;
        SenseOnce(*sim, path);
    });
}
BENCHMARK(SenseAlongARun)->Apply(AddPaths);

// Only the two borders: every beam runs to the wall, the longest a pass can cast.
static void SenseBordersOnly(benchmark::State& state)
{
    auto sim = MakeBenchWorld(42);
    sim->GenerateArena(10.0, 0);
    Measure(state, *sim, [&](SensePath path) { SenseOnce(*sim, path); });
}
BENCHMARK(SenseBordersOnly)->Apply(AddPaths);

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
