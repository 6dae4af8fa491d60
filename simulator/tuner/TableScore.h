#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tuner/MeanInterval.h"
#include "tuner/ScoreRequirement.h"
#include "tuner/TableEvaluation.h"

// One table's row in marlune-score: its figures over the arenas, or why it could not be read.
struct TableScore {
    std::string name;        // the path as given
    std::string unreadable;  // why the table could not be read; empty when it was scored
    RunTotals totals;        // every arena together
    double score = 0;        // ScoreFormula on the totals: what ranks the rows
    // Means over the arenas of each arena's own figure, with their 95 % intervals.
    MeanInterval collisions;          // per 1000 passes
    MeanInterval speed;               // pixels per pass
    MeanInterval coverage;            // share of the interior cells, 0 to 1
    std::vector<std::string> missed;  // the clauses of --require it misses

    bool Scored() const { return unreadable.empty(); }
    RequiredFigures Figures() const { return {collisions.mean, speed.mean, coverage.mean}; }
};

// The row of a table from its figures on every arena, in seed order.
TableScore ScoreFromArenas(const std::string& name, const std::vector<RunTotals>& arenas);

// The row of a table that could not be read, with the reason.
TableScore UnreadableTable(const std::string& name, const std::string& reason);

// All the arenas of one table at once on the evaluator's threads; nothing when stop was
// raised first. pairsDone counts the arenas as they finish.
std::optional<TableScore> ScoreTable(const ParallelEvaluator& evaluator, const std::string& name,
                                     const InferenceTable& table, const std::vector<std::uint64_t>& seeds,
                                     const std::atomic<bool>* stop = nullptr,
                                     std::atomic<std::size_t>* pairsDone = nullptr);

// Best first: by score, ties by name; the tables that could not be read last, by name.
void RankBestFirst(std::vector<TableScore>& rows);
