// Evaluation throughput of the table tuner: passes per second, on one thread and on
// every core. One iteration is one generation's worth of work for a small population.
#include <benchmark/benchmark.h>

#include <thread>

#include "tuner/ArenaSeeds.h"
#include "tuner/TableEvaluation.h"

namespace {

constexpr int kPasses = 500;
constexpr int kArenas = 4;
constexpr int kTables = 4;

std::vector<InferenceTable> Tables()
{
    // Tables that keep the robot moving, so the beams have varied lengths.
    std::vector<InferenceTable> tables(kTables);
    for (int t = 0; t < kTables; ++t)
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            tables[t].angles[k] = (k % 2 ? 40.0 : -30.0) + 5.0 * t;
            tables[t].speeds[k] = 0.5 + 0.25 * k;
        }
    return tables;
}

void BM_EvaluateTables(benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    const ParallelEvaluator evaluator(threads, kPasses);
    const auto tables = Tables();
    const auto seeds = DeriveArenaSeeds(1, kArenas).tuning;
    for (auto _ : state) benchmark::DoNotOptimize(evaluator.Evaluate(tables, seeds));
    state.SetItemsProcessed(state.iterations() * kTables * kArenas * kPasses);
    state.counters["threads"] = threads;
}

int AllCores()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace

BENCHMARK(BM_EvaluateTables)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EvaluateTables)->Arg(AllCores())->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
