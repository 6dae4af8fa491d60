// What the README promises, pinned: the figures it quotes, and hashes of a whole run's
// trace and of a frame. A change anywhere in the world's arithmetic, however small,
// moves a trajectory and shows here first.
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <sstream>

#include "../world/ScratchFolder.h"
#include "runner/HeadlessRun.h"
#include "tuner/ArenaSeeds.h"
#include "tuner/TableTuning.h"
#include "world/InferenceFile.h"

namespace {

const std::string kTables = MARLUNE_TABLES_DIR;

std::uint64_t Fnv1a(const void* data, std::size_t size)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<const unsigned char*>(data)[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string ReadAll(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

std::string Summary(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunMarlune(arguments, out, err), 0) << err.str();
    return out.str();
}

InferenceTable ShippedTable(const std::string& name)
{
    InferenceTable table;
    EXPECT_EQ(LoadInferenceFile(kTables + "/" + name, table), 2 * InferenceTable::kSituations) << name;
    return table;
}

TEST(GoldenRuns, TheReadmeSummariesOfArenaFortyTwo)
{
    EXPECT_EQ(Summary({"--seed", "42", "--table", kTables + "/example.ifi"}),
              "seed: 42\npasses: 3000\ncollisions: 3\ndistance: 3478.410 pixels\n"
              "collisions per 1000 passes: 1.000\nmean speed: 1.159 pixels per pass\n");
    EXPECT_EQ(Summary({"--seed", "42", "--table", kTables + "/tuned.ifi"}),
              "seed: 42\npasses: 3000\ncollisions: 1\ndistance: 4893.057 pixels\n"
              "collisions per 1000 passes: 0.333\nmean speed: 1.631 pixels per pass\n");
}

class GoldenFiles : public ScratchFolderTest {};

TEST_F(GoldenFiles, AWholeTraceAndAFrameHashTheSameEveryTime)
{
    const std::string trace = PathOf("trace.csv");
    const std::string frame = PathOf("frame.png");
    Summary({"--seed", "42", "--table", kTables + "/tuned.ifi", "--trace", trace, "--frame", frame, "--beams"});

    const std::string traceText = ReadAll(trace);
    EXPECT_EQ(Fnv1a(traceText.data(), traceText.size()), 0xe23516d2152d0a30ull) << "trace of 3000 passes";
    const cv::Mat pixels = cv::imread(frame, cv::IMREAD_UNCHANGED);
    ASSERT_TRUE(pixels.isContinuous());
    EXPECT_EQ(Fnv1a(pixels.data, pixels.total() * pixels.elemSize()), 0x22f1b36d4bb8c469ull) << "last frame with beams";
}

TEST(GoldenRuns, TheShippedTuningReportIsWhatTheShippedTablesScore)
{
    // The settings the shipped table was tuned with (the README gives the command).
    TuningSettings settings;
    settings.arenas = 24;
    settings.generations = 30;
    settings.collisionWeight = 1.5;
    const ArenaSeeds seeds = DeriveArenaSeeds(settings.seed, settings.arenas);
    const ParallelEvaluator evaluator(2, settings.passes);
    const auto figures = [&](const InferenceTable& table) {
        const std::vector<InferenceTable> one{table};
        return TableFigures{(*evaluator.Evaluate(one, seeds.tuning))[0],
                            (*evaluator.Evaluate(one, seeds.validation))[0]};
    };
    TuningOutcome outcome;
    outcome.best = ShippedTable("tuned.ifi");
    const TableFigures reference = figures(ShippedTable("example.ifi"));

    // How the table was chosen depends on the whole search; the figures do not.
    const std::string shipped = ReadAll(kTables + "/tuned.txt");
    const auto choiceAt = shipped.find("\ntable: ") + 8;
    const std::string choice = shipped.substr(choiceAt, shipped.find('\n', choiceAt) - choiceAt);
    EXPECT_EQ(FormatTuningReport(settings, outcome, outcome.best, choice, figures(outcome.best), reference,
                                 "tables/example.ifi"),
              shipped);
}

TEST(GoldenRuns, EveryShippedTableReadsWhole)
{
    for (const char* name : {"example.ifi", "bounce.ifi", "tuned.ifi"}) ShippedTable(name);
}

}  // namespace
