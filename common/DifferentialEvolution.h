#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Differential evolution (DE/rand/1/bin) that maximises a score over a box.
// The whole population of a generation is handed to the objective at once, so the
// caller can spread the evaluations over threads; everything else runs on the
// caller's thread and depends only on the seed, never on timing.

struct SearchBox {
    std::vector<double> lower;
    std::vector<double> upper;
    std::size_t Dimension() const { return lower.size(); }
    bool Contains(const std::vector<double>& point) const;
};

struct DifferentialEvolutionSettings {
    int populationSize = 16;
    int generations = 40;  // generations after the initial population
    double differentialWeight = 0.6;
    double crossoverRate = 0.9;
    std::uint64_t seed = 1;
};

// Fills scores (one per candidate, higher is better) and returns true, or returns
// false when it was interrupted; an interrupted batch is discarded as a whole.
using BatchObjective =
    std::function<bool(const std::vector<std::vector<double>>& candidates, std::vector<double>& scores)>;

struct SearchProgress {
    int generation;   // 0 = the initial population
    int generations;  // the last generation that will run
    double bestScore;
};
using ProgressCallback = std::function<void(const SearchProgress&)>;

struct SearchResult {
    std::vector<double> best;
    std::optional<double> bestScore;  // empty when not even the first population finished
    int generationsDone = -1;         // -1: stopped during the initial population
    bool interrupted = false;
};

// start, when given, becomes the first member of the initial population (moved into
// the box), so the search never ends worse than it. Without it, and if interrupted
// before any score is known, the result is the first random member: still a point
// of the box.
SearchResult MaximiseByDifferentialEvolution(const SearchBox& box, const DifferentialEvolutionSettings& settings,
                                             const BatchObjective& objective,
                                             const std::vector<double>* start = nullptr,
                                             const ProgressCallback& progress = {});
