#include "reasoning/InferenceReading.h"

#include <algorithm>

namespace {

constexpr int kAllBlocked = 0, kOnlySidesFree = 5;

}  // namespace

InferenceReading ReadInference(const RobotSimulation& sim, const InferenceTable& table)
{
    InferenceReading reading;
    std::copy(sim.sectorDistance, sim.sectorDistance + 3, reading.sectorDistance);
    reading.nearDistance = sim.nearDistance;
    reading.farDistance = sim.farDistance;
    reading.inference = sim.inference;
    reading.allBlockedAngle = sim.angles[kAllBlocked];
    reading.onlySidesFreeAngle = sim.angles[kOnlySidesFree];
    // Both angles flip together, so either differing from the table means both did;
    // a zero angle has no sign to lose.
    reading.signsReversed = sim.angles[kAllBlocked] != table.angles[kAllBlocked] ||
                            sim.angles[kOnlySidesFree] != table.angles[kOnlySidesFree];
    // The same weighted sum over the same truths and angles as the controller's, so
    // the angle is the command in degrees before its conversion to radians.
    reading.command = WeightedCommand(sim.inference, sim.angles, sim.speeds);
    return reading;
}
