#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "common/CommandLineValues.h"
#include "common/ProgramVersion.h"
#include "runner/HeadlessRun.h"
#include "runner/RunnerOptions.h"

namespace {

RunnerOptions Parse(std::vector<std::string> arguments)
{
    return ParseRunnerOptions(arguments);
}

}  // namespace

TEST(RunnerOptions, DefaultsAndEveryOption)
{
    const RunnerOptions defaults = Parse({});
    EXPECT_EQ(defaults.passes, 3000);
    EXPECT_FALSE(defaults.seed);
    EXPECT_FALSE(defaults.beams);
    EXPECT_TRUE(defaults.tablePath.empty());
    EXPECT_EQ(defaults.zoom, 1);

    const RunnerOptions all = Parse({"--table", "t.ifi", "--seed", "42", "--passes", "7", "--beams", "--trace", "t.csv",
                                     "--arena", "a.png", "--freemap", "f.png", "--frame", "g.png", "--zoom", "3"});
    EXPECT_EQ(all.tablePath, "t.ifi");
    EXPECT_EQ(all.seed, 42u);
    EXPECT_EQ(all.passes, 7);
    EXPECT_TRUE(all.beams);
    EXPECT_EQ(all.tracePath, "t.csv");
    EXPECT_EQ(all.arenaPath, "a.png");
    EXPECT_EQ(all.freeMapPath, "f.png");
    EXPECT_EQ(all.framePath, "g.png");
    EXPECT_EQ(all.zoom, 3);
    EXPECT_TRUE(Parse({"--help"}).help);
}

// help2man numbers the manual pages from this line: the name, one space, the version.
TEST(RunnerOptions, VersionAnswersAloneWithoutRunning)
{
    EXPECT_TRUE(Parse({"--version"}).version);
    EXPECT_FALSE(Parse({}).version);
    std::ostringstream out, err;
    EXPECT_EQ(RunMarlune({"--passes", "5", "--version", "--seed", "1"}, out, err), 0);
    EXPECT_TRUE(std::regex_match(out.str(), std::regex("marlune-run [0-9]+(\\.[0-9]+)+\n"))) << out.str();
    EXPECT_EQ(out.str(), VersionLine("marlune-run"));
    EXPECT_EQ(err.str(), "");
}

TEST(RunnerOptions, HelpWinsOverVersionAndARefusalIsOneLineNamingTheProgram)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunMarlune({"--version", "--help"}, out, err), 0);
    EXPECT_EQ(out.str(), RunnerHelp());
    EXPECT_EQ(err.str(), "");

    std::ostringstream refusedOut, refusedErr;
    EXPECT_EQ(RunMarlune({"--passes", "3", "--bogus"}, refusedOut, refusedErr), 2);
    EXPECT_EQ(refusedErr.str(), "marlune-run: unknown option '--bogus' (see --help)\n");
    EXPECT_EQ(refusedOut.str(), "");

    // Whatever the argument holds, the terminal gets one printable line.
    std::ostringstream controlOut, controlErr;
    EXPECT_EQ(RunMarlune({"--\x1b[2J\n"}, controlOut, controlErr), 2);
    EXPECT_EQ(controlErr.str(), "marlune-run: unknown option '--\\x1b[2J\\x0a' (see --help)\n");
}

TEST(RunnerOptions, SeedsAreSixtyFourBitDecimalOrHex)
{
    EXPECT_EQ(ParseSeed("--seed", "0"), 0u);
    EXPECT_EQ(ParseSeed("--seed", "18446744073709551615"), ~std::uint64_t{0});
    EXPECT_EQ(ParseSeed("--seed", "0xFFFFFFFFFFFFFFFF"), ~std::uint64_t{0});
    EXPECT_EQ(ParseSeed("--seed", "0x2a"), 42u);
    for (const char* bad : {"18446744073709551616", "-1", "+5", "12abc", "0x", "0xg", "", " 5", "4.5"})
        EXPECT_THROW(ParseSeed("--seed", bad), UsageError) << "'" << bad << "'";
}

TEST(RunnerOptions, PassCountsArePositiveWholeNumbers)
{
    EXPECT_EQ(ParsePositiveCount("--passes", "1"), 1);
    for (const char* bad : {"0", "-3", "abc", "2.5", "", "99999999999999999999"})
        EXPECT_THROW(ParsePositiveCount("--passes", bad), UsageError) << "'" << bad << "'";
}

TEST(RunnerOptions, MistakesAreRefusedWithAMessageNamingThem)
{
    const auto messageOf = [](std::vector<std::string> arguments) -> std::string {
        try {
            ParseRunnerOptions(arguments);
        } catch (const UsageError& error) {
            return error.what();
        }
        return "accepted";
    };
    EXPECT_EQ(messageOf({"--seed"}), "--seed: missing value");
    EXPECT_EQ(messageOf({"--speed", "3"}), "unknown option '--speed' (see --help)");
    EXPECT_EQ(messageOf({"--bogus"}), "unknown option '--bogus' (see --help)");
    EXPECT_EQ(messageOf({"table.ifi"}), "unexpected argument 'table.ifi' (see --help)");
    EXPECT_NE(messageOf({"--frame", "frame.nosuchformat"}).find("--frame"), std::string::npos);
    EXPECT_NE(messageOf({"--arena", ""}), "accepted");
    EXPECT_NE(messageOf({"--passes", "0"}).find("'0'"), std::string::npos);
    // The window's zooms only, and only for what shows the frame.
    EXPECT_NE(messageOf({"--frame", "f.png", "--zoom", "0"}).find("--zoom"), std::string::npos);
    EXPECT_EQ(messageOf({"--frame", "f.png", "--zoom", "5"}), "--zoom: '5' is more than 4");
    EXPECT_EQ(messageOf({"--zoom", "2"}), "--zoom: only with --frame or --video");
    EXPECT_EQ(messageOf({"--video", "v.gif", "--zoom", "4"}), "accepted");
    // The reasoning is drawn beside a frame, so it needs one.
    EXPECT_EQ(messageOf({"--inference"}), "--inference: only with --frame or --video");
    EXPECT_TRUE(Parse({"--frame", "f.png", "--inference"}).inference);
}

TEST(RunnerOptions, TheReasoningIsRefusedByAProgramThatCannotDrawIt)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunMarlune({"--passes", "5", "--frame", "f.png", "--inference"}, out, err), 2);
    EXPECT_EQ(err.str(), "marlune-run: --inference: this program draws no reasoning\n");
    EXPECT_EQ(out.str(), "");
}
