#pragma once
#include <memory>

#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

// The desktop program's set-up on a fixed seed, steered by a table that drives the
// robot round its arena, so the measured passes look like real ones.
inline std::unique_ptr<RobotSimulation> MakeBenchWorld(std::uint64_t seed)
{
    auto sim = std::make_unique<RobotSimulation>(kWorldSize, kWorldSize);
    sim->rng.Seed(seed);
    InferenceTable table;
    const double angles[8] = {60, -55, 0, -5, 55, 60, 5, 0};
    const double speeds[8] = {0.2, 0.5, 1.5, 2, 0.5, 0.5, 2, 2.5};
    std::copy(angles, angles + 8, table.angles);
    std::copy(speeds, speeds + 8, table.speeds);
    PrepareRun(*sim, table);
    return sim;
}
