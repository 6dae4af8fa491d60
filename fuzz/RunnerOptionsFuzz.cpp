// marlune-run's command line on any arguments: options or a UsageError that says why, and
// every output the options name is one RunnerOutputs lists.
#include "FuzzArguments.h"
#include "common/CommandLineValues.h"
#include "runner/RunnerOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments = ArgumentsOf(data, size);
    arguments.erase(arguments.begin());
    try {
        const RunnerOptions options = ParseRunnerOptions(arguments);
        FUZZ_CHECK(options.passes >= 1);
        for (const NamedFile& output : RunnerOutputs(options)) FUZZ_CHECK(output.option.rfind("--", 0) == 0);
    } catch (const UsageError& error) {
        // One line of the program's own; an argument quoted in it may hold anything.
        FUZZ_CHECK(error.what()[0] != '\0');
    }
    return 0;
}
