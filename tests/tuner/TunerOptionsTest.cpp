#include <gtest/gtest.h>

#include <clocale>

#include "common/CommandLineValues.h"
#include "tuner/TunerOptions.h"

namespace {
TunerOptions Parse(std::vector<std::string> arguments)
{
    return ParseTunerOptions(arguments, 2);
}
}  // namespace

TEST(TunerOptions, ReadsEverySetting)
{
    const TunerOptions o = Parse({"--seed",
                                  "0xFFFFFFFFFFFFFFFF",
                                  "--out",
                                  "t/x.ifi",
                                  "--arenas",
                                  "3",
                                  "--passes",
                                  "200",
                                  "--population",
                                  "4",
                                  "--generations",
                                  "0",
                                  "--threads",
                                  "5",
                                  "--collision-weight",
                                  "0.25",
                                  "--angles",
                                  "-45:30.5",
                                  "--speeds",
                                  "0.5:2",
                                  "--start",
                                  "a.ifi",
                                  "--compare",
                                  "b.ifi"});
    const TuningSettings& s = o.settings;
    EXPECT_EQ(s.seed, ~std::uint64_t{0});
    EXPECT_EQ(o.outPath, "t/x.ifi");
    EXPECT_EQ(o.reportPath, "t/x.txt");
    EXPECT_EQ(o.startPath, "a.ifi");
    EXPECT_EQ(o.comparePath, "b.ifi");
    EXPECT_EQ(s.arenas, 3);
    EXPECT_EQ(s.passes, 200);
    EXPECT_EQ(s.population, 4);
    EXPECT_EQ(s.generations, 0);
    EXPECT_EQ(s.threads, 5);
    EXPECT_EQ(s.collisionWeight, 0.25);
    EXPECT_EQ(s.angleMin, -45.0);
    EXPECT_EQ(s.angleMax, 30.5);
    EXPECT_EQ(s.speedMin, 0.5);
    EXPECT_EQ(s.speedMax, 2.0);
}

TEST(TunerOptions, DefaultsMatchTheHelp)
{
    const TunerOptions o = Parse({});
    EXPECT_EQ(o.settings.seed, 1u);
    EXPECT_EQ(o.settings.threads, 2);
    EXPECT_EQ(o.outPath, "best.ifi");
    EXPECT_EQ(o.reportPath, "best.txt");
    EXPECT_EQ(o.settings.angleMin, -90.0);
    EXPECT_EQ(o.settings.angleMax, 90.0);
    EXPECT_EQ(o.settings.speedMin, 0.0);
    EXPECT_EQ(o.settings.speedMax, 3.0);
    EXPECT_EQ(DefaultReportPath("table"), "table.txt");
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_FALSE(o.version);
    const std::string help = TunerHelp();
    EXPECT_EQ(help.find('@'), std::string::npos) << "a default left unfilled";
    EXPECT_NE(help.find("(default " + std::to_string(o.settings.arenas) + ")"), std::string::npos);
    EXPECT_NE(help.find("(default " + std::to_string(o.settings.passes) + ")"), std::string::npos);
}

TEST(TunerOptions, VersionTakesNoValue)
{
    const TunerOptions o = Parse({"--version", "--seed", "5"});
    EXPECT_TRUE(o.version);
    EXPECT_EQ(o.settings.seed, 5u);
}

TEST(TunerOptions, NumbersIgnoreTheLocale)
{
    // Under a comma-decimal locale a C-library parser would stop at the point.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "fr_FR.UTF-8 is not installed";
    const TunerOptions o = Parse({"--collision-weight", "0.125", "--speeds", "0.5:2.75"});
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(o.settings.collisionWeight, 0.125);
    EXPECT_EQ(o.settings.speedMax, 2.75);
    EXPECT_THROW(Parse({"--collision-weight", "0,125"}), UsageError);
}

TEST(TunerOptions, RefusesWhatCannotBeRun)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus", "1"},
        {"stray"},
        {"--seed"},
        {"--seed", "-1"},
        {"--seed", "12abc"},
        {"--seed", "0x"},
        {"--seed", "18446744073709551616"},
        {"--passes", "0"},
        {"--arenas", "1.5"},
        {"--population", "3"},
        {"--generations", "-1"},
        {"--threads", "0"},
        {"--collision-weight", "-0.1"},
        {"--angles", "10"},
        {"--angles", "30:-30"},
        {"--speeds", "a:b"},
        {"--speeds", "1:"},
        {"--out", ""},
        // Infinite or missing numbers would fill the tables and the scores with NaN.
        {"--angles", "-inf:inf"},
        {"--speeds", "0:nan"},
        {"--collision-weight", "inf"},
        {"--collision-weight", "nan"},
        // Finite but absurd: eight lines of "inf inf" came out of these.
        {"--angles", "-1e308:1e308"},
        {"--speeds", "0:1000001"},
        {"--angles", "-1e6:1.0000000001e6"},
    };
    for (const auto& arguments : bad)
        EXPECT_THROW(Parse(arguments), UsageError) << arguments[0] << ' ' << arguments.back();
}

TEST(TunerOptions, BoundsUpToAMillionAreAccepted)
{
    const TunerOptions o = Parse({"--angles", "-1e6:1e6", "--speeds", "-1000000:0"});
    EXPECT_EQ(o.settings.angleMin, -1e6);
    EXPECT_EQ(o.settings.speedMin, -1e6);
}

TEST(TunerOptions, SearchesBeyondTheMemoryAreRefusedBeforeAllocating)
{
    constexpr double kGigabyte = 1 << 30;
    // The defaults fit in a few megabytes.
    EXPECT_LT(TuningMemoryBytes(Parse({}).settings), 64 << 20);
    EXPECT_NO_THROW(RefuseSearchesBeyondMemory(Parse({"--threads", "64"}).settings, kGigabyte));
    for (const char* option : {"--population", "--arenas"}) {
        const TuningSettings huge = Parse({option, "2147483647"}).settings;
        try {
            RefuseSearchesBeyondMemory(huge, 64 * kGigabyte);
            ADD_FAILURE() << option << " 2147483647 was not refused";
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find("2147483647"), std::string::npos) << error.what();
        }
    }
    // Threads only cost a world each while there is a (table, arena) pair for them.
    const TuningSettings threads = Parse({"--threads", "2147483647"}).settings;
    EXPECT_NO_THROW(RefuseSearchesBeyondMemory(threads, kGigabyte));
    EXPECT_THROW(RefuseSearchesBeyondMemory(Parse({"--threads", "2000", "--population", "1000"}).settings, kGigabyte),
                 UsageError);
}
