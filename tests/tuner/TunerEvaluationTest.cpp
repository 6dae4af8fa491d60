#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tuner/ArenaSeeds.h"
#include "tuner/TableTuning.h"

namespace {

InferenceTable Table(const double (&angles)[8], const double (&speeds)[8])
{
    InferenceTable t;
    for (int k = 0; k < 8; ++k) {
        t.angles[k] = angles[k];
        t.speeds[k] = speeds[k];
    }
    return t;
}

// Drives like a sensible hand-written table: turn away from blocked sides.
InferenceTable ReasonableTable()
{
    return Table({90, -60, 0, -20, 60, 60, 20, 0}, {0.5, 1, 1, 1.5, 1, 1, 1.5, 2});
}

// Goes straight while everything is free and turns hard away from what blocks it.
InferenceTable BouncingTable()
{
    return Table({70, -70, 0, -25, 70, 75, 25, 0}, {0.2, 0.6, 1.5, 2.2, 0.6, 0.6, 2.2, 2.8});
}

// Tuned on a score that paid for any cell entered: it circles the arena along the wall,
// always turning a little (S8 21 degrees).
InferenceTable WallFollowingTable()
{
    return Table({-22.033517, -89.022704, -66.874781, -9.963365, 81.512951, 70.548840, 0.841349, 20.972308},
                 {2.305127, 2.760115, 1.287989, 0.342361, 0.295633, 1.949778, 2.900177, 1.713497});
}

// Full lock at full speed: the centre circles round the rear axle, never far away.
InferenceTable SpinningTable()
{
    return Table({90, 90, 90, 90, 90, 90, 90, 90}, {3, 3, 3, 3, 3, 3, 3, 3});
}

// Full speed ahead whatever the sensors say: collides as often as a table can.
InferenceTable BlindTable()
{
    InferenceTable t;
    for (double& s : t.speeds) s = 3.0;
    return t;
}

TuningSettings SmallRun(int threads)
{
    TuningSettings s;
    s.seed = 5;
    s.arenas = 2;
    s.passes = 200;
    s.population = 6;
    s.generations = 2;
    s.threads = threads;
    return s;
}

}  // namespace

TEST(TableEvaluation, ResultsDoNotDependOnThreadsOrOnWhatAWorldRanBefore)
{
    const std::vector<InferenceTable> tables{ReasonableTable(), BlindTable(), ReasonableTable()};
    const std::vector<std::uint64_t> seeds = DeriveArenaSeeds(3, 3).tuning;
    const auto one = ParallelEvaluator(1, 400).Evaluate(tables, seeds);
    const auto three = ParallelEvaluator(3, 400).Evaluate(tables, seeds);
    ASSERT_TRUE(one && three);

    // Reference: a fresh world for every arena.
    for (std::size_t t = 0; t < tables.size(); ++t) {
        RunTotals fresh;
        for (std::uint64_t seed : seeds) {
            RobotSimulation sim(kWorldSize, kWorldSize);
            fresh.Add(RunArena(sim, tables[t], seed, 400));
        }
        for (const auto* totals : {&*one, &*three}) {
            EXPECT_EQ((*totals)[t].passes, fresh.passes);
            EXPECT_EQ((*totals)[t].collisions, fresh.collisions) << "table " << t;
            EXPECT_EQ((*totals)[t].distance, fresh.distance) << "table " << t;
            EXPECT_EQ((*totals)[t].interiorCellsVisited, fresh.interiorCellsVisited) << "table " << t;
        }
    }
}

TEST(TableEvaluation, ARaisedStopGivesNoFigures)
{
    std::atomic<bool> stop{true};
    EXPECT_FALSE(ParallelEvaluator(2, 50).Evaluate({BlindTable()}, {1, 2}, &stop).has_value());
}

TEST(TableEvaluation, ScoreRewardsSpeedThatEntersTheInteriorAndChargesCollisions)
{
    RunTotals totals;
    totals.passes = 2000;
    totals.collisions = 6;
    totals.distance = 3000.0;
    totals.arenas = 2;
    totals.interiorCellsVisited = 72;
    EXPECT_DOUBLE_EQ(totals.MeanSpeed(), 1.5);
    EXPECT_DOUBLE_EQ(totals.CollisionsPer1000Passes(), 3.0);
    EXPECT_DOUBLE_EQ(totals.InteriorShare(), 0.25);
    EXPECT_DOUBLE_EQ(ScoreFormula{0.1}.Score(totals), 1.5 * 0.25 * std::exp(-0.3));
    EXPECT_DOUBLE_EQ(ScoreFormula{0.0}.Score(totals), 1.5 * 0.25);
    EXPECT_EQ(ScoreFormula{0.1}.Score(RunTotals{}), 0.0);  // no pass: no division by zero
}

TEST(TableEvaluation, WanderingAmongObstaclesBeatsSpinningLoopingAlongTheWallEscapingAndStandingStill)
{
    // Collisions are rare events: the comparison with the wall loop, which touches less
    // but keeps to the border band, needs enough arenas to be a fact and not a draw.
    const std::vector<std::uint64_t> seeds = DeriveArenaSeeds(1, 16).validation;
    const auto totals =
        ParallelEvaluator(2, 1500).Evaluate({BouncingTable(), SpinningTable(), WallFollowingTable()}, seeds);
    const std::vector<std::uint64_t> fewSeeds(seeds.begin(), seeds.begin() + 4);
    const auto shortRuns =
        ParallelEvaluator(2, 600).Evaluate({BouncingTable(), BlindTable(), InferenceTable{}}, fewSeeds);
    ASSERT_TRUE(totals && shortRuns);
    const RunTotals& bouncing = (*totals)[0];
    const RunTotals& spinning = (*totals)[1];
    const RunTotals& wallFollowing = (*totals)[2];
    const RunTotals& blind = (*shortRuns)[1];
    const RunTotals& still = (*shortRuns)[2];
    const ScoreFormula formula;
    // The spinner's odometer runs about as fast as a sensible driver's, but it stays
    // where it started.
    EXPECT_GT(spinning.MeanSpeed(), 0.5 * bouncing.MeanSpeed());
    EXPECT_LT(spinning.InteriorShare(), 0.05);
    // The wall loop is fast and rarely touches anything, but keeps to the border band.
    EXPECT_LT(wallFollowing.InteriorShare(), 0.5 * bouncing.InteriorShare());
    for (const RunTotals* worse : {&spinning, &wallFollowing})
        EXPECT_LT(formula.Score(*worse), formula.Score(bouncing)) << worse - &(*totals)[0];
    // Straight ahead at full speed bursts through the top border and off the map,
    // where it would count one collision and then drive on freely: its run ends there.
    EXPECT_EQ(blind.escapes, 4);
    EXPECT_EQ((*shortRuns)[0].escapes, 0);
    EXPECT_EQ(blind.passes, (*shortRuns)[0].passes);
    EXPECT_EQ(blind.thrownOut, 0);
    EXPECT_EQ(still.interiorCellsVisited, 4) << "the middle cell of each arena, where it starts";
    EXPECT_EQ(formula.Score(still), 0.0);
    for (const RunTotals* worse : {&blind, &still})
        EXPECT_LT(formula.Score(*worse), formula.Score((*shortRuns)[0])) << worse - &(*shortRuns)[0];
}

TEST(TableEvaluation, ATableThatThrowsTheRobotOutOfAnyMeaningfulRangeHasFailed)
{
    const std::vector<std::uint64_t> seeds = DeriveArenaSeeds(1, 2).validation;
    InferenceTable huge;
    InferenceTable whirling;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        huge.speeds[k] = 1e308;
        whirling.angles[k] = 1e308;
        whirling.speeds[k] = 1;
    }
    const auto totals = ParallelEvaluator(2, 1000).Evaluate({huge, whirling, ReasonableTable()}, seeds);
    ASSERT_TRUE(totals);
    const ScoreFormula formula;
    for (int failed : {0, 1}) {
        EXPECT_EQ((*totals)[failed].thrownOut, 2) << failed;
        EXPECT_EQ((*totals)[failed].escapes, 2) << failed;
        EXPECT_EQ(formula.Score((*totals)[failed]), -std::numeric_limits<double>::infinity()) << failed;
    }
    EXPECT_EQ((*totals)[2].thrownOut, 0);
    EXPECT_GT(formula.Score((*totals)[2]), -std::numeric_limits<double>::infinity());
}

TEST(TableTuning, TheSameSeedGivesTheSameTableWhateverTheThreads)
{
    const std::vector<std::uint64_t> seeds = DeriveArenaSeeds(5, 2).tuning;
    const TuningOutcome a = TuneTable(SmallRun(1), seeds);
    const TuningOutcome b = TuneTable(SmallRun(2), seeds);
    ASSERT_TRUE(a.bestScore && b.bestScore);
    EXPECT_EQ(*a.bestScore, *b.bestScore);
    EXPECT_EQ(TableToPoint(a.best), TableToPoint(b.best));
}

TEST(TableTuning, ImprovesOnADeliberatelyBadStart)
{
    TuningSettings s = SmallRun(2);
    s.start = BlindTable();
    const std::vector<std::uint64_t> seeds = DeriveArenaSeeds(s.seed, s.arenas).tuning;
    const auto startTotals = ParallelEvaluator(2, s.passes).Evaluate({BlindTable()}, seeds);
    const double startScore = ScoreFormula{s.collisionWeight}.Score((*startTotals)[0]);

    const TuningOutcome outcome = TuneTable(s, seeds);
    ASSERT_TRUE(outcome.bestScore);
    EXPECT_GT(*outcome.bestScore, startScore);
    const auto bestTotals = ParallelEvaluator(2, s.passes).Evaluate({outcome.best}, seeds);
    EXPECT_EQ(ScoreFormula{s.collisionWeight}.Score((*bestTotals)[0]), *outcome.bestScore);
}

TEST(TableTuning, TablesStayWithinTheUsersBounds)
{
    TuningSettings s = SmallRun(2);
    s.angleMin = 10;
    s.angleMax = 25;
    s.speedMin = 1.0;
    s.speedMax = 1.5;
    s.start = BlindTable();  // outside the bounds: must be brought in, not kept
    const TuningOutcome outcome = TuneTable(s, DeriveArenaSeeds(s.seed, s.arenas).tuning);
    for (int k = 0; k < 8; ++k) {
        EXPECT_GE(outcome.best.angles[k], 10.0);
        EXPECT_LE(outcome.best.angles[k], 25.0);
        EXPECT_GE(outcome.best.speeds[k], 1.0);
        EXPECT_LE(outcome.best.speeds[k], 1.5);
    }
}
