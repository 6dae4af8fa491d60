#pragma once
#include <cstddef>
#include <limits>
#include <string>

namespace emulator {

// What the robot did in its room, counted as it moves.
struct RunTally {
    double seconds = 0;     // of time stepped
    double distanceMm = 0;  // travelled by the body's centre
    int contacts = 0;       // times the bumper went from released to pressed
    // Closest the body came to a wall or a piece of furniture; 0 on contact.
    double minClearanceMm = std::numeric_limits<double>::infinity();
};

// The run's report, one "key value" line each: seconds, distance_mm, contacts,
// min_clearance_mm, frames, commands.
std::string RunReportText(const RunTally& tally, std::size_t frames, std::size_t commands);

}  // namespace emulator
