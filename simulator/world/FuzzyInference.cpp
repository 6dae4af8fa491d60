#include "world/FuzzyInference.h"

#include "world/RobotSimulation.h"

FuzzyInference FuzzyInference::From(const double sectorDistance[3], double nearDistance, double farDistance)
{
    FuzzyInference inference;
    for (int j = 0; j < 3; ++j) {
        inference.degree[j][kFree] = RobotSimulation::FarMembership(sectorDistance[j], nearDistance, farDistance);
        inference.degree[j][kBlocked] = 1 - inference.degree[j][kFree];
    }

    for (int left = 0; left < 2; ++left)
        for (int front = 0; front < 2; ++front)
            for (int right = 0; right < 2; ++right)
                inference.truth[4 * left + 2 * front + right] =
                    (inference.degree[kFront][front] * inference.degree[kLeft][left]) * inference.degree[kRight][right];

    double best = 0.0;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        if (inference.truth[k] > best) {
            best = inference.truth[k];
            inference.winner = k;
        }
    }
    return inference;
}

FuzzyCommand WeightedCommand(const FuzzyInference& inference, const double* angles, const double* speeds)
{
    FuzzyCommand command;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        command.angle += inference.truth[k] * angles[k];
        command.speed += inference.truth[k] * speeds[k];
    }
    return command;
}
