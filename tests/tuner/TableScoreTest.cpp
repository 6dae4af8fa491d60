#include <gtest/gtest.h>

#include <limits>

#include "tuner/TableScore.h"

namespace {

// Full speed ahead, turning only where the way is open: collides in most arenas.
InferenceTable CarelessTable()
{
    InferenceTable t;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        t.angles[k] = k % 2 == 0 ? 0 : 30;
        t.speeds[k] = 2.5;
    }
    return t;
}

TableScore Scored(const std::string& name, double score)
{
    TableScore row;
    row.name = name;
    row.score = score;
    return row;
}

}  // namespace

// The row's figures are those of marlune-run's arenas, one by one, whatever the pool did.
TEST(TableScore, RowIsTheMeanOfEachArenaRunByHandWhateverTheThreads)
{
    const InferenceTable table = CarelessTable();
    const std::vector<std::uint64_t> seeds{4, 11, 12, 40};
    constexpr int kPasses = 400;
    RobotSimulation sim(kWorldSize, kWorldSize);
    std::vector<RunTotals> byHand;
    RunTotals all;
    for (std::uint64_t seed : seeds) {
        byHand.push_back(RunArena(sim, table, seed, kPasses));
        all.Add(byHand.back());
    }
    double collisions = 0, speed = 0, coverage = 0;
    for (const RunTotals& arena : byHand) {
        collisions += arena.CollisionsPer1000Passes();
        speed += arena.MeanSpeed();
        coverage += arena.InteriorShare();
    }
    ASSERT_GT(collisions, 0) << "arenas that test nothing";

    for (int threads : {1, 2, 3}) {
        const auto row = ScoreTable(ParallelEvaluator(threads, kPasses), "t.ifi", table, seeds);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->name, "t.ifi");
        EXPECT_TRUE(row->Scored());
        EXPECT_EQ(row->collisions.mean, collisions / 4) << threads;
        EXPECT_EQ(row->speed.mean, speed / 4) << threads;
        EXPECT_EQ(row->coverage.mean, coverage / 4) << threads;
        EXPECT_EQ(row->score, ScoreFormula{}.Score(all)) << threads;
        EXPECT_EQ(row->totals.collisions, all.collisions);
        EXPECT_EQ(row->totals.arenas, 4);
        EXPECT_LE(*row->speed.low, row->speed.mean);
        EXPECT_GE(*row->speed.high, row->speed.mean);
    }
}

TEST(TableScore, ARaisedStopLeavesNoRow)
{
    const std::atomic<bool> stop{true};
    std::atomic<std::size_t> done{0};
    EXPECT_FALSE(ScoreTable(ParallelEvaluator(2, 100), "t", CarelessTable(), {1, 2, 3}, &stop, &done));
    EXPECT_EQ(done.load(), 0u);
}

TEST(TableScore, RanksBestFirstTiesByNameUnreadableAndUnrankableLast)
{
    std::vector<TableScore> rows{UnreadableTable("a.ifi", "short"),
                                 Scored("thrown.ifi", -std::numeric_limits<double>::infinity()),
                                 Scored("z.ifi", 0.5),
                                 Scored("nan.ifi", std::numeric_limits<double>::quiet_NaN()),
                                 Scored("b.ifi", 0.5),
                                 UnreadableTable("0.ifi", ""),
                                 Scored("best.ifi", 1.25),
                                 Scored("neg.ifi", -3)};
    RankBestFirst(rows);
    std::vector<std::string> names;
    for (const TableScore& row : rows) names.push_back(row.name);
    EXPECT_EQ(names, (std::vector<std::string>{"best.ifi", "b.ifi", "z.ifi", "neg.ifi", "thrown.ifi", "nan.ifi",
                                               "0.ifi", "a.ifi"}));
    EXPECT_FALSE(rows[6].Scored()) << "an empty reason still marks the table unread";
}
