#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <utility>

#include "common/DifferentialEvolution.h"

namespace {

// A smooth hill with its top at `peak`; the score is minus the squared distance.
struct Hill {
    explicit Hill(std::vector<double> top) : peak(std::move(top)) {}

    std::vector<double> peak;
    std::vector<std::vector<double>> seen;  // every candidate ever handed over
    int batches = 0;
    int interruptAtBatch = -1;  // batch index that reports an interruption

    double At(const std::vector<double>& x) const
    {
        double sum = 0;
        for (std::size_t i = 0; i < x.size(); ++i) sum += (x[i] - peak[i]) * (x[i] - peak[i]);
        return -sum;
    }

    BatchObjective Objective()
    {
        return [this](const std::vector<std::vector<double>>& candidates, std::vector<double>& scores) {
            if (batches++ == interruptAtBatch) return false;
            for (std::size_t i = 0; i < candidates.size(); ++i) {
                seen.push_back(candidates[i]);
                scores[i] = At(candidates[i]);
            }
            return true;
        };
    }
};

SearchBox Box(int dimension, double lower, double upper)
{
    return {std::vector<double>(dimension, lower), std::vector<double>(dimension, upper)};
}

DifferentialEvolutionSettings Settings(int population, int generations, std::uint64_t seed)
{
    DifferentialEvolutionSettings s;
    s.populationSize = population;
    s.generations = generations;
    s.seed = seed;
    return s;
}

}  // namespace

TEST(DifferentialEvolution, ClimbsToThePeakOfASmoothHill)
{
    Hill hill{{1.5, -2.0, 0.25, 3.0}};
    const SearchResult result = MaximiseByDifferentialEvolution(Box(4, -5, 5), Settings(20, 150, 7), hill.Objective());
    ASSERT_TRUE(result.bestScore.has_value());
    EXPECT_FALSE(result.interrupted);
    EXPECT_EQ(result.generationsDone, 150);
    for (std::size_t i = 0; i < hill.peak.size(); ++i)
        EXPECT_NEAR(result.best[i], hill.peak[i], 1e-3) << "coordinate " << i;
    EXPECT_DOUBLE_EQ(*result.bestScore, hill.At(result.best));
}

TEST(DifferentialEvolution, NeverLeavesTheBoxEvenWhenThePeakLiesOutside)
{
    // The peak pulls every coordinate beyond a bound: mutants keep crossing it.
    Hill hill{{3.0, -4.0, 2.0}};
    SearchBox box{{-1.0, -2.0, -1.5}, {1.0, 2.0, 0.25}};
    const SearchResult result = MaximiseByDifferentialEvolution(box, Settings(12, 60, 3), hill.Objective());
    for (const auto& candidate : hill.seen) ASSERT_TRUE(box.Contains(candidate));
    EXPECT_NEAR(result.best[0], 1.0, 1e-3);
    EXPECT_NEAR(result.best[1], -2.0, 1e-3);
    EXPECT_NEAR(result.best[2], 0.25, 1e-3);
}

TEST(DifferentialEvolution, ADegenerateBoxPinsThatCoordinate)
{
    Hill hill{{0.0, 0.0}};
    SearchBox box{{-1.0, 0.75}, {1.0, 0.75}};
    MaximiseByDifferentialEvolution(box, Settings(6, 10, 3), hill.Objective());
    for (const auto& candidate : hill.seen) ASSERT_EQ(candidate[1], 0.75);
}

TEST(DifferentialEvolution, TheSameSeedRepeatsTheSearchExactly)
{
    Hill first{{0.3, 0.6}}, second{{0.3, 0.6}}, other{{0.3, 0.6}};
    const auto a = MaximiseByDifferentialEvolution(Box(2, -1, 1), Settings(6, 5, 11), first.Objective());
    const auto b = MaximiseByDifferentialEvolution(Box(2, -1, 1), Settings(6, 5, 11), second.Objective());
    MaximiseByDifferentialEvolution(Box(2, -1, 1), Settings(6, 5, 12), other.Objective());
    EXPECT_EQ(a.best, b.best);
    EXPECT_EQ(first.seen, second.seen);
    EXPECT_NE(first.seen, other.seen);
}

TEST(DifferentialEvolution, AStartPointJoinsClampedAndIsNeverLost)
{
    // The start sits on the peak: no later generation may report anything worse.
    Hill hill{{0.2, -0.4, 0.6}};
    const std::vector<double> start = hill.peak;
    std::vector<double> reported;
    const auto result =
        MaximiseByDifferentialEvolution(Box(3, -1, 1), Settings(6, 8, 5), hill.Objective(), &start,
                                        [&](const SearchProgress& p) { reported.push_back(p.bestScore); });
    EXPECT_EQ(hill.seen.front(), start);
    EXPECT_EQ(result.best, start);
    ASSERT_EQ(reported.size(), 9u);
    for (double score : reported) EXPECT_EQ(score, 0.0);

    Hill outside{{0, 0}};
    const std::vector<double> far{5.0, -7.0};
    MaximiseByDifferentialEvolution(Box(2, -1, 1), Settings(4, 0, 5), outside.Objective(), &far);
    EXPECT_EQ(outside.seen.front(), (std::vector<double>{1.0, -1.0}));
}

TEST(DifferentialEvolution, AnInterruptedSearchKeepsTheLastWholeGeneration)
{
    Hill reference{{0.5, 0.5}}, stopped{{0.5, 0.5}};
    stopped.interruptAtBatch = 4;  // generations 0..3 complete, generation 4 is cut short
    int lastReported = -1;
    const auto full = MaximiseByDifferentialEvolution(Box(2, -1, 1), Settings(6, 3, 9), reference.Objective());
    const auto cut = MaximiseByDifferentialEvolution(Box(2, -1, 1), Settings(6, 10, 9), stopped.Objective(), nullptr,
                                                     [&](const SearchProgress& p) { lastReported = p.generation; });
    EXPECT_TRUE(cut.interrupted);
    EXPECT_EQ(cut.generationsDone, 3);
    EXPECT_EQ(lastReported, 3);
    EXPECT_EQ(cut.best, full.best);
    EXPECT_EQ(cut.bestScore, full.bestScore);
}

TEST(DifferentialEvolution, StoppedBeforeAnyScoreStillGivesAPointOfTheBox)
{
    SearchBox box = Box(3, 2, 4);
    Hill withStart{{0, 0, 0}}, without{{0, 0, 0}};
    withStart.interruptAtBatch = without.interruptAtBatch = 0;
    const std::vector<double> start{3.0, 9.0, 2.5};
    const auto a = MaximiseByDifferentialEvolution(box, Settings(5, 4, 1), withStart.Objective(), &start);
    const auto b = MaximiseByDifferentialEvolution(box, Settings(5, 4, 1), without.Objective());
    EXPECT_TRUE(a.interrupted);
    EXPECT_FALSE(a.bestScore.has_value());
    EXPECT_EQ(a.generationsDone, -1);
    EXPECT_EQ(a.best, (std::vector<double>{3.0, 4.0, 2.5}));
    EXPECT_TRUE(box.Contains(b.best));
}

TEST(DifferentialEvolution, RejectsSettingsItCannotRunWith)
{
    Hill hill{{0, 0}};
    EXPECT_THROW(MaximiseByDifferentialEvolution(Box(2, 0, 1), Settings(3, 1, 1), hill.Objective()),
                 std::invalid_argument);
    EXPECT_THROW(MaximiseByDifferentialEvolution(SearchBox{{1, 0}, {0, 1}}, Settings(4, 1, 1), hill.Objective()),
                 std::invalid_argument);
    const std::vector<double> wrongSize{0.5};
    EXPECT_THROW(MaximiseByDifferentialEvolution(Box(2, 0, 1), Settings(4, 1, 1), hill.Objective(), &wrongSize),
                 std::invalid_argument);
    EXPECT_EQ(hill.batches, 0);
}
