#pragma once

// Eight situations S1..S8; index k is S(k+1) = 4*[left free] + 2*[front free] + [right free].
// Angles in degrees (positive steers left), speeds in pixels per step.
struct InferenceTable {
    static constexpr int kSituations = 8;
    double angles[kSituations] = {};
    double speeds[kSituations] = {};
};
