#include "runner/WorldReach.h"

#include <cmath>

namespace {

bool WithinReach(double coordinate, int size)
{
    return coordinate >= -kWorldReach && coordinate <= size + kWorldReach;
}

}  // namespace

bool NextPassStaysInTheWorld(const RobotSimulation& sim)
{
    // The comparisons are false for NaN, so a lost coordinate fails them too.
    return WithinReach(sim.rearX, sim.width) && WithinReach(sim.rearY, sim.height) &&
           WithinReach(sim.frontX, sim.width) && WithinReach(sim.frontY, sim.height) &&
           WithinReach(sim.centerX, sim.width) && WithinReach(sim.centerY, sim.height) &&
           std::abs(sim.heading) <= kLargestAngle && std::abs(sim.steer) <= kLargestAngle &&
           std::abs(sim.speed) <= kWorldReach;
}
