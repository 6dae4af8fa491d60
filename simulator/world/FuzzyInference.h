#pragma once
#include "world/InferenceTable.h"

// The fuzzy reasoning of one pass, kept whole so that whoever explains a decision (the
// inference view, the command surface, an exported engine) shows the very numbers the
// controller steered by, not a second computation of them.
struct FuzzyInference {
    static constexpr int kLeft = 0, kFront = 1, kRight = 2;
    static constexpr int kBlocked = 0, kFree = 1;

    double degree[3][2] = {};  // [sector][kBlocked or kFree]
    double truth[InferenceTable::kSituations] = {};
    int winner = 0;  // the truest situation; the lowest index among equals, 0 when none is true

    // Degrees of the three sector distances on the ramp (near, far) and the truth of each
    // situation: the product of its three degrees, front first.
    static FuzzyInference From(const double sectorDistance[3], double nearDistance, double farDistance);
};

// A command in the table's units: degrees (positive steers left) and pixels per step.
struct FuzzyCommand {
    double angle = 0;
    double speed = 0;
};

// The eight entries weighted by their truths, summed in situation order.
FuzzyCommand WeightedCommand(const FuzzyInference& inference, const double* angles, const double* speeds);
