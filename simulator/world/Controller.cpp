#include <algorithm>

#include "RobotSimulation.h"

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr int kLeft = 0, kFront = 1, kRight = 2;
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
    double degree[3][2];  // [sector][0 = blocked, 1 = free]
    for (int j = 0; j < 3; ++j) {
        degree[j][1] = FarMembership(sectorDistance[j], nearDistance, farDistance);
        degree[j][0] = 1 - degree[j][1];
    }

    double truth[InferenceTable::kSituations];
    for (int left = 0; left < 2; ++left)
        for (int front = 0; front < 2; ++front)
            for (int right = 0; right < 2; ++right)
                truth[4 * left + 2 * front + right] =
                    (degree[kFront][front] * degree[kLeft][left]) * degree[kRight][right];

    double best = 0.0;
    int winner = 0;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        if (truth[k] > best) {
            best = truth[k];
            winner = k;
        }
    }

    if (winner == kOnlyFrontFree || winner == kAllFree) {
        const double sign = (rng.Next() & 1u) ? 1.0 : -1.0;
        angles[kAllBlocked] *= sign;
        angles[kOnlySidesFree] *= sign;
    }

    double angleSum = 0.0;
    double speedSum = 0.0;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        angleSum += truth[k] * angles[k];
        speedSum += truth[k] * speeds[k];
    }
    speed = speedSum;
    steer = angleSum * kDegreesToRadians;
}
