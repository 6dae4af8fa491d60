#include "tuner/TuningFront.h"

#include <algorithm>
#include <numeric>

#include "common/CommandLineValues.h"
#include "common/NumberText.h"

void MarkFront(std::vector<MetTable>& met, const RunTotals& reference)
{
    const double coverageFloor = kFrontCoverageShare * reference.InteriorShare();
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < met.size(); ++i) {
        met[i].frontRank = 0;
        if (met[i].tuning.InteriorShare() >= coverageFloor) order.push_back(i);
    }
    // Fastest first: a table is on the front when it collides strictly less than every
    // table at least as fast that came before it. Equal tables: the first met stands for them.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const double speedA = met[a].tuning.MeanSpeed(), speedB = met[b].tuning.MeanSpeed();
        if (speedA != speedB) return speedA > speedB;
        return met[a].tuning.CollisionsPer1000Passes() < met[b].tuning.CollisionsPer1000Passes();
    });
    std::vector<std::size_t> front;
    for (std::size_t i : order) {
        const double collisions = met[i].tuning.CollisionsPer1000Passes();
        if (front.empty() || collisions < met[front.back()].tuning.CollisionsPer1000Passes()) front.push_back(i);
    }
    int rank = static_cast<int>(front.size());
    for (std::size_t i : front) met[i].frontRank = rank--;
}

std::vector<std::size_t> Finalists(const std::vector<MetTable>& met, const ScoreFormula& formula, std::size_t count)
{
    std::vector<std::size_t> order(met.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::vector<double> scores(met.size());
    for (std::size_t i = 0; i < met.size(); ++i) scores[i] = formula.Score(met[i].tuning);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return scores[a] > scores[b]; });
    order.resize(std::min(count, order.size()));
    for (std::size_t i = 0; i < met.size(); ++i)
        if (met[i].frontRank > 0 && std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);
    return order;
}

std::size_t BestOnValidation(const std::vector<MetTable>& met, const ScoreFormula& formula)
{
    std::size_t best = met.size();
    double bestScore = 0;
    for (std::size_t i = 0; i < met.size(); ++i) {
        if (!met[i].validation) continue;
        const double score = formula.Score(*met[i].validation);
        if (best == met.size() || score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

FrontPick ParseFrontPick(const std::string& option, const std::string& text)
{
    if (text == "balanced") return {};
    if (text == "cautious") return {FrontPick::Kind::Cautious, 0};
    if (text == "fast") return {FrontPick::Kind::Fast, 0};
    const std::optional<int> rank = ParseExactWhole<int>(text);
    if (!rank || *rank < 1)
        throw UsageError(option + " takes cautious, balanced, fast or a rank on the front from 1, got '" + text + "'");
    return {FrontPick::Kind::Rank, *rank};
}

std::vector<int> FrontRanks(const std::vector<MetTable>& met)
{
    std::vector<int> ranks;
    ranks.reserve(met.size());
    for (const MetTable& table : met) ranks.push_back(table.frontRank);
    return ranks;
}

std::size_t PickFromFront(const std::vector<int>& frontRanks, std::size_t chosen, const FrontPick& pick)
{
    const int ranks = frontRanks.empty() ? 0 : *std::max_element(frontRanks.begin(), frontRanks.end());
    int wanted = 0;
    switch (pick.kind) {
    case FrontPick::Kind::Balanced:
        return chosen;
    case FrontPick::Kind::Cautious:
        wanted = 1;
        break;
    case FrontPick::Kind::Fast:
        wanted = ranks;
        break;
    case FrontPick::Kind::Rank:
        wanted = pick.rank;
        break;
    }
    const auto found = std::find(frontRanks.begin(), frontRanks.end(), wanted);
    if (wanted < 1 || found == frontRanks.end())
        throw UsageError("--pick: the front holds " + std::to_string(ranks) + " tables, it has no rank " +
                         std::to_string(wanted));
    return static_cast<std::size_t>(found - frontRanks.begin());
}
