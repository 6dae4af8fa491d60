#include "tuner/TableEvaluation.h"

#include "runner/WorldReach.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>

#include "world/SimulationRun.h"

void RunTotals::Add(const RunTotals& other)
{
    passes += other.passes;
    collisions += other.collisions;
    distance += other.distance;
    escapes += other.escapes;
    thrownOut += other.thrownOut;
    arenas += other.arenas;
    interiorCellsVisited += other.interiorCellsVisited;
}

double RunTotals::CollisionsPer1000Passes() const
{
    return passes > 0 ? static_cast<double>(collisions) * 1000.0 / static_cast<double>(passes) : 0.0;
}

double RunTotals::MeanSpeed() const
{
    return passes > 0 ? distance / static_cast<double>(passes) : 0.0;
}

double RunTotals::InteriorShare() const
{
    return arenas > 0 ? static_cast<double>(interiorCellsVisited) / static_cast<double>(arenas * kInteriorCells) : 0.0;
}

double ScoreFormula::Score(const RunTotals& totals) const
{
    if (totals.thrownOut > 0) return -std::numeric_limits<double>::infinity();
    return totals.MeanSpeed() * totals.InteriorShare() * std::exp(-collisionWeight * totals.CollisionsPer1000Passes());
}

RunTotals RunArena(RobotSimulation& sim, const InferenceTable& table, std::uint64_t seed, int passes)
{
    // The set-up keeps a collision that was under way when the world's previous run
    // ended; a pooled world must start every arena the same way, whatever ran before.
    sim.inCollision = 0;
    sim.rng.Seed(seed);
    PrepareRun(sim, table);
    std::bitset<kInteriorCells> visited;
    auto visit = [&] {
        const int column = static_cast<int>(sim.centerX) / kFloorCellSize - kInteriorFirstCell;
        const int row = static_cast<int>(sim.centerY) / kFloorCellSize - kInteriorFirstCell;
        if (column >= 0 && column < kInteriorCellsPerSide && row >= 0 && row < kInteriorCellsPerSide)
            visited.set(row * kInteriorCellsPerSide + column);
    };
    visit();
    long long escapes = 0, thrownOut = 0;
    for (int pass = 0; pass < passes; ++pass) {
        RunPass(sim);
        if (!NextPassStaysInTheWorld(sim)) {
            escapes = thrownOut = 1;
            break;
        }
        if (!sim.IsInsideImage(sim.centerX, sim.centerY)) {
            escapes = 1;
            break;
        }
        visit();
    }
    return {passes, sim.collisions, sim.distance, escapes, thrownOut, 1, static_cast<long long>(visited.count())};
}

ParallelEvaluator::ParallelEvaluator(int threads, int passesPerArena)
    : m_threads(std::max(threads, 1)), m_passes(std::max(passesPerArena, 0))
{
}

std::optional<std::vector<RunTotals>> ParallelEvaluator::Evaluate(const std::vector<InferenceTable>& tables,
                                                                  const std::vector<std::uint64_t>& seeds,
                                                                  const std::atomic<bool>* stop) const
{
    const auto each = EvaluateEachArena(tables, seeds, stop);
    if (!each) return std::nullopt;
    std::vector<RunTotals> perTable(tables.size());
    for (std::size_t table = 0; table < tables.size(); ++table)
        for (const RunTotals& arena : (*each)[table]) perTable[table].Add(arena);
    return perTable;
}

std::optional<std::vector<std::vector<RunTotals>>>
ParallelEvaluator::EvaluateEachArena(const std::vector<InferenceTable>& tables, const std::vector<std::uint64_t>& seeds,
                                     const std::atomic<bool>* stop, std::atomic<std::size_t>* pairsDone) const
{
    const std::size_t arenas = seeds.size();
    const std::size_t pairs = tables.size() * arenas;
    std::vector<RunTotals> perPair(pairs);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stopped{false};
    std::exception_ptr failure;
    std::mutex failureMutex;

    auto worker = [&] {
        try {
            RobotSimulation sim(kWorldSize, kWorldSize);
            for (std::size_t pair = next++; pair < pairs; pair = next++) {
                if (stop && stop->load(std::memory_order_relaxed)) {
                    stopped = true;
                    return;
                }
                perPair[pair] = RunArena(sim, tables[pair / arenas], seeds[pair % arenas], m_passes);
                if (pairsDone) ++*pairsDone;
            }
        } catch (...) {
            std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
            stopped = true;
            next = pairs;
        }
    };
    const std::size_t threadCount =
        std::min<std::size_t>(static_cast<std::size_t>(m_threads), std::max<std::size_t>(pairs, 1));
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threadCount; ++t) pool.emplace_back(worker);
    worker();
    for (auto& thread : pool) thread.join();
    if (failure) std::rethrow_exception(failure);
    if (stopped) return std::nullopt;

    std::vector<std::vector<RunTotals>> perTable(tables.size());
    for (std::size_t table = 0; table < tables.size(); ++table)
        perTable[table].assign(perPair.begin() + static_cast<std::ptrdiff_t>(table * arenas),
                               perPair.begin() + static_cast<std::ptrdiff_t>((table + 1) * arenas));
    return perTable;
}
