// marlune-tune's command line on any arguments: settings the search can hold (finite
// bounds within a million, counts in range) or a UsageError that says why.
#include <cmath>

#include "FuzzArguments.h"
#include "common/CommandLineValues.h"
#include "tuner/TunerOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments = ArgumentsOf(data, size);
    arguments.erase(arguments.begin());
    try {
        const TunerOptions options = ParseTunerOptions(arguments, 2);
        const TuningSettings& s = options.settings;
        for (double bound : {s.angleMin, s.angleMax, s.speedMin, s.speedMax})
            FUZZ_CHECK(std::isfinite(bound) && std::abs(bound) <= 1e6);
        FUZZ_CHECK(s.angleMin <= s.angleMax && s.speedMin <= s.speedMax);
        FUZZ_CHECK(s.arenas >= 1 && s.passes >= 1 && s.population >= 4 && s.generations >= 0 && s.threads >= 1);
        FUZZ_CHECK(std::isfinite(s.collisionWeight) && s.collisionWeight >= 0);
        FUZZ_CHECK(!options.outPath.empty() && !options.reportPath.empty());
        FUZZ_CHECK(std::isfinite(TuningMemoryBytes(s)));
        RefuseSearchesBeyondMemory(s, 1 << 30);
    } catch (const UsageError& error) {
        // One line of the program's own; an argument quoted in it may hold anything.
        FUZZ_CHECK(error.what()[0] != '\0');
    }
    return 0;
}
