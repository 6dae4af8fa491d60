// The whole of marlune-run in the process, without its start-up: what marlune.run in
// Python is compared with (docs: the Python section of the README).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "runner/HeadlessRun.h"

namespace {

void MarluneRunOf3000Passes(benchmark::State& state)
{
    const std::vector<std::string> arguments{"--table", std::string(MARLUNE_TABLES_DIR) + "/tuned.ifi", "--seed", "42"};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunMarlune(arguments, out, err) != 0) state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(out.str());
    }
}
BENCHMARK(MarluneRunOf3000Passes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
