// marlune-score's command line on any arguments, and its --require parser on any text:
// options a run can hold (a seed range within bounds, passes in range, a requirement of
// at most 16 clauses with finite bounds) or a UsageError that says why.
#include <cmath>

#include "FuzzArguments.h"
#include "common/CommandLineValues.h"
#include "tuner/ScoreOptions.h"

namespace {

void CheckRequirement(const std::vector<RequirementClause>& requirement)
{
    FUZZ_CHECK(!requirement.empty() && requirement.size() <= kMaxRequirementClauses);
    for (const RequirementClause& clause : requirement) FUZZ_CHECK(std::isfinite(clause.bound));
    const auto missed = MissedClauses(requirement, {1.5, 2.0, 0.25});
    FUZZ_CHECK(missed.size() <= requirement.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        CheckRequirement(ParseRequirement(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const UsageError& error) {
        FUZZ_CHECK(error.what()[0] != '\0');
    }

    std::vector<std::string> arguments = ArgumentsOf(data, size);
    arguments.erase(arguments.begin());
    try {
        const ScoreOptions options = ParseScoreOptions(arguments);
        FUZZ_CHECK(!options.tablePaths.empty() || options.help || options.version);
        FUZZ_CHECK(options.firstSeed <= options.lastSeed && options.lastSeed - options.firstSeed < kMaxScoreArenas);
        FUZZ_CHECK(options.passes >= 1);
        if (options.hasRequirement) CheckRequirement(options.requirement);
        FUZZ_CHECK(ScoreSeeds(options).size() == options.lastSeed - options.firstSeed + 1);
    } catch (const UsageError& error) {
        // One line of the program's own; an argument quoted in it may hold anything.
        FUZZ_CHECK(error.what()[0] != '\0');
    }
    return 0;
}
