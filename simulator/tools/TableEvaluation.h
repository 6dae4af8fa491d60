#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "InferenceTable.h"
#include "RobotSimulation.h"

// What a table achieves over some passes of the usual start.
struct RunTotals {
    long long passes = 0;
    long long collisions = 0;
    double distance = 0;  // pixels travelled by the robot's centre

    void Add(const RunTotals& other);
    double CollisionsPer1000Passes() const;
    double MeanSpeed() const;  // pixels per pass
};

// score = mean speed - collisionWeight x collisions per 1000 passes
struct ScoreFormula {
    double collisionWeight = 0.1;
    double Score(const RunTotals& totals) const;
};

// One arena: seeds the world, sets up the usual start with the table and runs the
// passes headless (nothing drawn: drawing changes no figure).
RunTotals RunArena(RobotSimulation& sim, const InferenceTable& table, std::uint64_t seed, int passes);

// Runs every (table, arena) pair on a pool of threads, each with a world of its own.
// The totals of a table are summed in seed order, so they do not depend on the
// number of threads or on which thread ran what.
class ParallelEvaluator {
public:
    ParallelEvaluator(int threads, int passesPerArena);

    // Totals per table, or nothing when stop was raised before every pair was run.
    std::optional<std::vector<RunTotals>> Evaluate(const std::vector<InferenceTable>& tables,
                                                   const std::vector<std::uint64_t>& seeds,
                                                   const std::atomic<bool>* stop = nullptr) const;

    int Threads() const { return threads_; }
    int PassesPerArena() const { return passes_; }

private:
    int threads_;
    int passes_;
};
