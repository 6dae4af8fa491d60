#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/CommandLineValues.h"
#include "tuner/ScoreRequirement.h"

struct ScoreOptions : InformationOptions {
    std::vector<std::string> tablePaths;
    std::uint64_t firstSeed = 1;
    std::uint64_t lastSeed = 30;
    int passes = 3000;
    std::string csvPath;    // empty: no CSV
    std::string chartPath;  // empty: no chart
    std::vector<RequirementClause> requirement;
    bool hasRequirement = false;
};

// More arenas than a class could ever wait for, yet a count every buffer holds: a range
// typed one digit too long is refused before anything is allocated.
inline constexpr std::uint64_t kMaxScoreArenas = 100000;

// Reads the command line (without the program name). Throws UsageError with a one-line
// message for an unknown option, a missing or malformed value, a seed range that is
// reversed or too wide, a bad --require, or no table at all.
ScoreOptions ParseScoreOptions(const std::vector<std::string>& arguments);

// The arena seeds of the range, FIRST to LAST.
std::vector<std::uint64_t> ScoreSeeds(const ScoreOptions& options);

std::string ScoreHelp();
