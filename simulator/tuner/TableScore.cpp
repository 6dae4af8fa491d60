#include "tuner/TableScore.h"

#include <algorithm>
#include <cmath>
#include <tuple>

TableScore ScoreFromArenas(const std::string& name, const std::vector<RunTotals>& arenas)
{
    TableScore row;
    row.name = name;
    std::vector<double> collisions, speed, coverage;
    for (const RunTotals& arena : arenas) {
        row.totals.Add(arena);
        collisions.push_back(arena.CollisionsPer1000Passes());
        speed.push_back(arena.MeanSpeed());
        coverage.push_back(arena.InteriorShare());
    }
    row.score = ScoreFormula{}.Score(row.totals);
    row.collisions = MeanWithInterval(collisions);
    row.speed = MeanWithInterval(speed);
    row.coverage = MeanWithInterval(coverage);
    return row;
}

TableScore UnreadableTable(const std::string& name, const std::string& reason)
{
    TableScore row;
    row.name = name;
    row.unreadable = reason.empty() ? "cannot be read" : reason;  // an empty reason would read as scored
    return row;
}

std::optional<TableScore> ScoreTable(const ParallelEvaluator& evaluator, const std::string& name,
                                     const InferenceTable& table, const std::vector<std::uint64_t>& seeds,
                                     const std::atomic<bool>* stop, std::atomic<std::size_t>* pairsDone)
{
    const auto arenas = evaluator.EvaluateEachArena({table}, seeds, stop, pairsDone);
    if (!arenas) return std::nullopt;
    return ScoreFromArenas(name, (*arenas)[0]);
}

void RankBestFirst(std::vector<TableScore>& rows)
{
    // A score that is not a number ranks below every other, -inf included, rather than
    // breaking the order.
    auto key = [](const TableScore& row) {
        const bool ranked = row.Scored() && !std::isnan(row.score);
        return std::make_tuple(!row.Scored(), !ranked, ranked ? -row.score : 0.0, row.name);
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const TableScore& a, const TableScore& b) { return key(a) < key(b); });
}
