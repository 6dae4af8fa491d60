#pragma once
#include <cstdint>
#include <iosfwd>

// The figures a run ends with, per pass rather than per second: a headless run has
// no clock, and passes are what two runs can be compared by.
struct RunSummary {
    std::uint64_t seed = 0;
    long long passes = 0;
    int collisions = 0;
    double distance = 0;
    // The robot went beyond any meaningful range after `passes` passes: the run ended
    // there, and the figures are those of the passes up to it.
    bool leftTheWorld = false;

    double CollisionsPer1000Passes() const { return collisions * 1000.0 / passes; }
    double MeanSpeed() const { return distance / passes; }
};

void PrintSummary(std::ostream& out, const RunSummary& summary);
