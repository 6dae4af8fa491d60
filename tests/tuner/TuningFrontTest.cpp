#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../world/ScratchFolder.h"
#include "common/CommandLineValues.h"
#include "tuner/FrontChart.h"
#include "tuner/FrontFile.h"
#include "tuner/TuningFront.h"

namespace {

namespace fs = std::filesystem;

// Figures as a run would give them over one arena of 1000 passes.
MetTable Met(double collisionsPer1000, double speed, double interior, double firstAngle = 0)
{
    MetTable met;
    met.table.angles[0] = firstAngle;
    met.tuning.passes = 1000;
    met.tuning.arenas = 1;
    met.tuning.collisions = static_cast<long long>(collisionsPer1000);
    met.tuning.distance = speed * 1000;
    met.tuning.interiorCellsVisited = static_cast<long long>(interior * kInteriorCells);
    return met;
}

std::vector<int> Ranks(const std::vector<MetTable>& met)
{
    return FrontRanks(met);
}

}  // namespace

TEST(TuningFront, HoldsTheTablesNoneBeatsOnCollisionsAndSpeedAmongThoseThatWander)
{
    std::vector<MetTable> met{
        Met(2, 2.0, 0.5),   // fast, collides: on the front (fastest)
        Met(1, 1.5, 0.5),   // on the front
        Met(1, 1.0, 0.5),   // as few collisions but slower: beaten by the one above
        Met(0, 0.8, 0.45),  // no collision, slow: on the front (most cautious)
        Met(0, 2.5, 0.0),   // a spinner: fast and never collides, but enters nothing
        Met(3, 1.9, 0.5),   // beaten by the first
        Met(2, 2.0, 0.5),   // the first's twin: the first met stands for both
    };
    MarkFront(met, met[0].tuning);
    EXPECT_EQ(Ranks(met), (std::vector<int>{3, 2, 0, 1, 0, 0, 0}));
}

TEST(TuningFront, FinalistsAreTheBestOnTuningThenTheFrontAndTheChoiceIsMadeOnValidation)
{
    std::vector<MetTable> met{Met(0, 1.0, 0.5), Met(0, 2.0, 0.5), Met(5, 1.5, 0.5), Met(0, 1.5, 0.5)};
    met[2].frontRank = 0;
    met[0].frontRank = 1;  // as MarkFront may have left it
    const ScoreFormula formula;
    EXPECT_EQ(Finalists(met, formula, 2), (std::vector<std::size_t>{1, 3, 0}));

    EXPECT_EQ(BestOnValidation(met, formula), met.size()) << "nothing validated yet";
    met[1].validation = Met(4, 2.0, 0.3).tuning;  // best on tuning, worse on unseen worlds
    met[3].validation = Met(0, 1.5, 0.5).tuning;
    met[0].validation = Met(0, 1.5, 0.5).tuning;  // as good: the one met first wins the tie
    EXPECT_EQ(BestOnValidation(met, formula), 0u);
}

TEST(TuningFront, PicksByNameOrRankAndRefusesWhatTheFrontDoesNotHold)
{
    const std::vector<int> ranks{0, 3, 1, 0, 2};
    auto pick = [&](const char* text) { return PickFromFront(ranks, 3, ParseFrontPick("--pick", text)); };
    EXPECT_EQ(pick("balanced"), 3u);
    EXPECT_EQ(pick("cautious"), 2u);
    EXPECT_EQ(pick("fast"), 1u);
    EXPECT_EQ(pick("2"), 4u);
    EXPECT_THROW(pick("4"), UsageError);
    for (const char* bad : {"0", "-1", "Fast", "", "1.5", "99999999999"})
        EXPECT_THROW(ParseFrontPick("--pick", bad), UsageError) << bad;
    EXPECT_THROW(PickFromFront({0, 0}, 0, ParseFrontPick("--pick", "cautious")), UsageError);
}

TEST(FrontFile, GivesBackTheVeryTablesTheirRanksAndTheChoice)
{
    ScratchFolder dir;
    TuningFront front{{Met(1, 1.5, 0.5), Met(0, 1.0, 0.4), Met(2, 2.0, 0.5)}, 1};
    front.met[0].table.speeds[7] = 0.1 + 0.2;  // a number that needs all 17 digits
    front.met[2].table.angles[3] = -1e-300;
    front.met[1].frontRank = 1;
    front.met[0].frontRank = 2;
    front.met[1].validation = front.met[1].tuning;
    const fs::path path = dir.path / "front.csv";
    std::ofstream(path) << FrontCsv(front, ScoreFormula{});

    const FrontRows rows = ReadFrontCsv("--from", path.string());
    ASSERT_EQ(rows.tables.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            EXPECT_EQ(rows.tables[i].angles[k], front.met[i].table.angles[k]);
            EXPECT_EQ(rows.tables[i].speeds[k], front.met[i].table.speeds[k]);
        }
    EXPECT_EQ(rows.frontRanks, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(rows.chosen, 1u);
    EXPECT_NE(rows.figures[0].find("mean speed 1.5"), std::string::npos) << rows.figures[0];
}

TEST(FrontFile, RefusesAnythingElseWithTheLineAndTheReason)
{
    ScratchFolder dir;
    const fs::path good = dir.path / "good.csv";
    std::ofstream(good) << FrontCsv(TuningFront{{Met(1, 1.5, 0.5)}, 0}, ScoreFormula{});
    std::string header, row;
    {
        std::ifstream in(good);
        std::getline(in, header);
        std::getline(in, row);
    }
    const std::string noChoice = row.substr(0, row.find(",1,")) + ",0," + row.substr(row.find(",1,") + 3);
    const std::string longRow = row + std::string(2000, '0');
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "empty"},
        {"a,b\n" + row + "\n", "line 1: not a front"},
        {header + "\n" + row + ",5\n", "line 2: 28 fields"},
        {header + "\n" + row.substr(0, row.rfind(',')) + ",inf\n", "line 2: the table's number 16"},
        {header + "\n" + row + "\n" + row + "\n", "2 rows are marked chosen"},
        {header + "\n" + noChoice + "\n", "0 rows are marked chosen"},
        {header + "\n" + longRow + "\n", "longer than 1024 bytes"},
        {header + "\n" + row + "\n\x01\n", "line 3"},
    };
    for (const auto& [text, reason] : cases) {
        const fs::path path = dir.path / "bad.csv";
        std::ofstream(path, std::ios::binary) << text;
        try {
            ReadFrontCsv("--from", path.string());
            ADD_FAILURE() << "accepted: " << reason;
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(ReadFrontCsv("--from", (dir.path / "missing.csv").string()), UsageError);
}

TEST(FrontChart, MarksTheFrontAndTheChoiceOnAWhitePicture)
{
    TuningFront front{{Met(1, 1.5, 0.5), Met(0, 1.0, 0.4), Met(30, 2.0, 0.1)}, 0};
    MarkFront(front.met, front.met[0].tuning);
    const cv::Mat chart = DrawFrontChart(front, front.chosen);
    ASSERT_EQ(chart.type(), CV_8UC3);
    EXPECT_GE(chart.cols, 640);
    // The written table's red ring.
    cv::Mat red;
    cv::inRange(chart, cv::Scalar(0, 0, 180), cv::Scalar(60, 60, 255), red);
    EXPECT_GT(cv::countNonZero(red), 30);
    cv::Mat white;
    cv::inRange(chart, cv::Scalar(255, 255, 255), cv::Scalar(255, 255, 255), white);
    EXPECT_GT(cv::countNonZero(white), chart.total() / 2);
}
