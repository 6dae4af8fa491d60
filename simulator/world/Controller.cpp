#include <algorithm>

#include "world/Degrees.h"
#include "world/RobotSimulation.h"

namespace {

// Situations whose way ahead is open: the moments to re-draw which way S1 and S6 turn.
constexpr int kOnlyFrontFree = 2, kAllFree = 7;
constexpr int kAllBlocked = 0, kOnlySidesFree = 5;

}  // namespace

void RobotSimulation::SetController(const double* tableAngles, const double* tableSpeeds, double beamsPerSector,
                                    bool rampFromRadius, double lowerBound, double upperBound)
{
    std::copy(tableAngles, tableAngles + InferenceTable::kSituations, angles);
    std::copy(tableSpeeds, tableSpeeds + InferenceTable::kSituations, speeds);
    raysPerSector = beamsPerSector;
    if (rampFromRadius) {
        nearDistance = radius;
        farDistance = 2 * radius;
    } else {
        nearDistance = lowerBound;
        farDistance = upperBound;
    }
}

double RobotSimulation::FarMembership(double distance, double lower, double upper)
{
    if (distance < lower) return 0;
    if (distance >= upper) return 1;
    return (distance - lower) / (upper - lower);
}

void RobotSimulation::ComputeCommand()
{
    inference = FuzzyInference::From(sectorDistance, nearDistance, farDistance);

    if (inference.winner == kOnlyFrontFree || inference.winner == kAllFree) {
        const double sign = (rng.Next() & 1u) ? 1.0 : -1.0;
        angles[kAllBlocked] *= sign;
        angles[kOnlySidesFree] *= sign;
    }

    const FuzzyCommand command = WeightedCommand(inference, angles, speeds);
    speed = command.speed;
    steer = command.angle * kDegreesToRadians;
}
