#include "common/DifferentialEvolution.h"

#include <algorithm>
#include <stdexcept>

#include "common/SplitMix64.h"

bool SearchBox::Contains(const std::vector<double>& point) const
{
    if (point.size() != Dimension()) return false;
    for (std::size_t i = 0; i < point.size(); ++i)
        if (!(point[i] >= lower[i] && point[i] <= upper[i])) return false;
    return true;
}

namespace {

void CheckArguments(const SearchBox& box, const DifferentialEvolutionSettings& settings,
                    const std::vector<double>* start)
{
    if (box.lower.size() != box.upper.size() || box.lower.empty())
        throw std::invalid_argument("search box: lower and upper bounds differ in size or are empty");
    for (std::size_t i = 0; i < box.Dimension(); ++i)
        if (!(box.lower[i] <= box.upper[i]))
            throw std::invalid_argument("search box: a lower bound is above its upper bound");
    // rand/1 needs the target and three other distinct members.
    if (settings.populationSize < 4) throw std::invalid_argument("population size must be at least 4");
    if (settings.generations < 0) throw std::invalid_argument("generation count must not be negative");
    if (start && start->size() != box.Dimension())
        throw std::invalid_argument("start point does not match the search box");
}

// A mutant coordinate that leaves the box lands at random between the base vector's
// coordinate and the bound it crossed: it stays inside, can reach the bound (where a
// table's best speed often lies) and does not pile up on it.
double BounceBack(double value, double base, double lower, double upper, SplitMix64& random)
{
    if (value < lower) return lower + (base - lower) * random.NextUnit();
    if (value > upper) return upper - (upper - base) * random.NextUnit();
    return value;
}

int IndexOfBest(const std::vector<double>& scores)
{
    return static_cast<int>(std::max_element(scores.begin(), scores.end()) - scores.begin());
}

}  // namespace

SearchResult MaximiseByDifferentialEvolution(const SearchBox& box, const DifferentialEvolutionSettings& settings,
                                             const BatchObjective& objective, const std::vector<double>* start,
                                             const ProgressCallback& progress)
{
    CheckArguments(box, settings, start);
    const std::size_t dimension = box.Dimension();
    const int size = settings.populationSize;
    SplitMix64 random(settings.seed);

    std::vector<std::vector<double>> population(size, std::vector<double>(dimension));
    for (auto& member : population)
        for (std::size_t i = 0; i < dimension; ++i)
            member[i] = box.lower[i] + random.NextUnit() * (box.upper[i] - box.lower[i]);
    if (start)
        for (std::size_t i = 0; i < dimension; ++i)
            population[0][i] = std::clamp((*start)[i], box.lower[i], box.upper[i]);

    SearchResult result;
    result.best = population[0];
    std::vector<double> scores(size);
    if (!objective(population, scores)) {
        result.interrupted = true;
        return result;
    }
    int best = IndexOfBest(scores);
    auto publish = [&](int generation) {
        result.best = population[best];
        result.bestScore = scores[best];
        result.generationsDone = generation;
        if (progress) progress({generation, settings.generations, scores[best]});
    };
    publish(0);

    std::vector<std::vector<double>> trials(size, std::vector<double>(dimension));
    std::vector<double> trialScores(size);
    for (int generation = 1; generation <= settings.generations; ++generation) {
        for (int target = 0; target < size; ++target) {
            int a, b, c;
            do a = random.NextBelow(size);
            while (a == target);
            do b = random.NextBelow(size);
            while (b == target || b == a);
            do c = random.NextBelow(size);
            while (c == target || c == a || c == b);
            // At least one coordinate comes from the mutant, or the trial would repeat the target.
            const std::size_t forced = static_cast<std::size_t>(random.NextBelow(static_cast<int>(dimension)));
            const auto& base = population[a];
            for (std::size_t i = 0; i < dimension; ++i) {
                const bool cross = i == forced || random.NextUnit() < settings.crossoverRate;
                const double mutant = base[i] + settings.differentialWeight * (population[b][i] - population[c][i]);
                trials[target][i] =
                    cross ? BounceBack(mutant, base[i], box.lower[i], box.upper[i], random) : population[target][i];
            }
        }
        if (!objective(trials, trialScores)) {
            result.interrupted = true;
            return result;
        }
        // Ties go to the trial, so the population can drift across flat regions.
        for (int i = 0; i < size; ++i)
            if (trialScores[i] >= scores[i]) {
                population[i] = trials[i];
                scores[i] = trialScores[i];
            }
        best = IndexOfBest(scores);
        publish(generation);
    }
    return result;
}
