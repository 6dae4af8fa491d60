#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <sstream>
#include <unistd.h>

#include "../world/FullDisk.h"
#include "../world/ScratchFolder.h"
#include "interop/TableLoading.h"
#include "runner/HeadlessRun.h"
#include "runner/PictureOutput.h"
#include "runner/TraceWriter.h"
#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome RunTool(std::vector<std::string> arguments)
{
    std::ostringstream out, err;
    const int code = RunMarlune(arguments, out, err);
    return {code, out.str(), err.str()};
}

class HeadlessRunTest : public ScratchFolderTest {
protected:
    void SetUp() override { m_table = Write("table.ifi", "40 0.5\n-40 1\n0 2\n-10 2\n40 1\n40 1\n10 2\n0 2\n"); }

    std::string m_table;
};

bool IsOneLineError(const Outcome& outcome)
{
    return outcome.out.empty() && outcome.err.rfind("marlune-run: ", 0) == 0 &&
           outcome.err.find('\n') == outcome.err.size() - 1;
}

}  // namespace

TEST_F(HeadlessRunTest, BadOptionsAndTablesStopBeforeRunningWithCodeTwo)
{
    EXPECT_TRUE(IsOneLineError(RunTool({"--passes", "zero"})));
    EXPECT_EQ(RunTool({"--bogus"}).code, 2);

    const Outcome missing = RunTool({"--table", PathOf("absent.ifi")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(IsOneLineError(missing));

    const Outcome shortTable = RunTool({"--table", Write("short.ifi", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\n")});
    EXPECT_EQ(shortTable.code, 2);
    EXPECT_NE(shortTable.err.find("15"), std::string::npos) << shortTable.err;

    const Outcome broken = RunTool({"--table", Write("broken.ifi", "1 2 3 x 5 6 7 8 9 10 11 12 13 14 15 16\n")});
    EXPECT_EQ(broken.code, 2);

    // Read as numbers, but no robot can steer by them: the run would report NaN figures.
    for (const char* entry : {"nan", "inf", "-INFINITY", "1e999"}) {
        const Outcome notFinite =
            RunTool({"--table", Write("nonfinite.ifi", std::string("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 ") + entry)});
        EXPECT_EQ(notFinite.code, 2) << entry;
        EXPECT_TRUE(IsOneLineError(notFinite)) << notFinite.err;
    }
}

TEST_F(HeadlessRunTest, HelpExplainsEveryOption)
{
    const Outcome help = RunTool({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* option :
         {"--table", "--seed", "--passes", "--beams", "--trace", "--arena", "--freemap", "--frame", "--plot"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST_F(HeadlessRunTest, TheSameSeedRepeatsTheRunByteForByte)
{
    const Outcome first = RunTool({"--seed", "7", "--table", m_table, "--passes", "300", "--trace", PathOf("a.csv")});
    const Outcome second = RunTool({"--seed", "7", "--table", m_table, "--passes", "300", "--trace", PathOf("b.csv")});
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    const std::string trace = Read(PathOf("a.csv"));
    EXPECT_EQ(trace, Read(PathOf("b.csv")));

    std::istringstream lines(trace);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, TraceWriter::kHeader);
    int rows = 0;
    while (std::getline(lines, line)) {
        ++rows;
        ASSERT_EQ(line.substr(0, line.find(',')), std::to_string(rows));
        ASSERT_EQ(std::count(line.begin(), line.end(), ','), 10);
    }
    EXPECT_EQ(rows, 300);
    EXPECT_NE(first.out.find("seed: 7\n"), std::string::npos);
    EXPECT_NE(first.out.find("passes: 300\n"), std::string::npos);
}

TEST_F(HeadlessRunTest, ThePrintedSeedOfAnUnseededRunRepeatsIt)
{
    const Outcome unseeded = RunTool({"--table", m_table, "--passes", "200"});
    ASSERT_EQ(unseeded.code, 0);
    const std::string seed = unseeded.out.substr(6, unseeded.out.find('\n') - 6);
    EXPECT_EQ(RunTool({"--seed", seed, "--table", m_table, "--passes", "200"}).out, unseeded.out);
}

TEST_F(HeadlessRunTest, PicturesAreTheWorldsImagesWithRowZeroAtTheBottom)
{
    ASSERT_EQ(RunTool({"--seed", "0x51", "--passes", "1", "--arena", PathOf("arena.png"), "--freemap",
                       PathOf("free.png"), "--frame", PathOf("frame.png")})
                  .code,
              0);
    RobotSimulation sim(kWorldSize, kWorldSize);
    sim.rng.Seed(0x51);
    PrepareRun(sim, InferenceTable{});
    cv::Mat expected;
    cv::flip(sim.arena, expected, 0);
    EXPECT_EQ(cv::norm(cv::imread(PathOf("arena.png")), expected, cv::NORM_INF), 0);
    cv::flip(sim.freeMap, expected, 0);
    EXPECT_EQ(cv::norm(cv::imread(PathOf("free.png"), cv::IMREAD_UNCHANGED), expected, cv::NORM_INF), 0);

    // The frame holds the robot, red, just above the middle of the picture.
    const cv::Mat frame = cv::imread(PathOf("frame.png"));
    EXPECT_EQ(frame.at<cv::Vec3b>(255 - 135, 128), cv::Vec3b(0, 0, 255));
}

TEST_F(HeadlessRunTest, OnlyAFrameIsPaintedAndPaintingChangesNoFigure)
{
    const std::vector<std::string> run = {"--seed", "5", "--table", m_table, "--passes", "400"};
    auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.begin(), run.begin(), run.end());
        return RunTool(extra);
    };
    const Outcome quiet = with({"--trace", PathOf("quiet.csv")});
    const Outcome beamsUnseen = with({"--beams", "--trace", PathOf("unseen.csv")});
    const Outcome framed = with({"--beams", "--frame", PathOf("frame.png"), "--trace", PathOf("framed.csv")});
    ASSERT_EQ(framed.code, 0) << framed.err;
    EXPECT_EQ(quiet.out, framed.out);
    EXPECT_EQ(beamsUnseen.out, framed.out);
    EXPECT_EQ(Read(PathOf("quiet.csv")), Read(PathOf("framed.csv")));
    EXPECT_EQ(Read(PathOf("unseen.csv")), Read(PathOf("framed.csv")));

    // The frame is the desktop program's: robot and every beam painted on each pass.
    RobotSimulation sim(kWorldSize, kWorldSize);
    sim.rng.Seed(5);
    PrepareRun(sim, LoadTableForRun(m_table));
    for (int pass = 0; pass < 400; ++pass) RunPass(sim, {.robot = true, .beams = true});
    cv::Mat expected;
    cv::flip(ComposeFrame(sim), expected, 0);
    EXPECT_EQ(cv::norm(cv::imread(PathOf("frame.png")), expected, cv::NORM_INF), 0);
}

TEST_F(HeadlessRunTest, AnOutputThatCannotBeWrittenIsAFailure)
{
    const Outcome trace = RunTool({"--seed", "1", "--passes", "5", "--trace", PathOf("no/such/dir/t.csv")});
    EXPECT_EQ(trace.code, 1);
    EXPECT_TRUE(IsOneLineError(trace));
    EXPECT_EQ(RunTool({"--seed", "1", "--passes", "5", "--frame", PathOf("no/such/dir/f.png")}).code, 1);
    if (std::ofstream("/dev/full")) {
        EXPECT_EQ(RunTool({"--seed", "1", "--passes", "5", "--trace", "/dev/full"}).code, 1);
    }
}

TEST_F(HeadlessRunTest, AnOutputNamingTheTableOrAnotherOutputIsRefusedWithCodeTwo)
{
    const std::string before = Read(m_table);
    std::filesystem::create_symlink(m_table, PathOf("link.csv"));
    std::filesystem::create_hard_link(m_table, PathOf("hard.csv"));
    for (const std::string& trace : {m_table, PathOf("./table.ifi"), PathOf("link.csv"), PathOf("hard.csv")}) {
        const Outcome outcome = RunTool({"--seed", "1", "--passes", "5", "--table", m_table, "--trace", trace});
        EXPECT_EQ(outcome.code, 2) << trace;
        EXPECT_TRUE(IsOneLineError(outcome)) << outcome.err;
        EXPECT_NE(outcome.err.find("--table"), std::string::npos) << outcome.err;
    }
    std::filesystem::create_symlink(m_table, PathOf("link.gif"));
    EXPECT_EQ(RunTool({"--passes", "5", "--table", m_table, "--video", PathOf("link.gif")}).code, 2);
    EXPECT_EQ(Read(m_table), before);
    EXPECT_TRUE(std::filesystem::is_symlink(PathOf("link.csv")));

    const Outcome twice = RunTool({"--passes", "5", "--frame", PathOf("x.png"), "--plot", PathOf("x.png")});
    EXPECT_EQ(twice.code, 2);
    EXPECT_NE(twice.err.find("--frame"), std::string::npos) << twice.err;
}

TEST_F(HeadlessRunTest, AMissingOutputFolderIsFoundBeforeTheRun)
{
    // A million passes would take many seconds: refused at once, nothing is run or written.
    const Outcome outcome = RunTool({"--seed", "1", "--passes", "1000000", "--table", m_table, "--trace",
                                     PathOf("t.csv"), "--plot", PathOf("missing/p.png")});
    EXPECT_EQ(outcome.code, 1);
    EXPECT_TRUE(IsOneLineError(outcome)) << outcome.err;
    EXPECT_NE(outcome.err.find("missing"), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(PathOf("t.csv")));

    std::filesystem::create_directory(PathOf("folder.png"));
    EXPECT_EQ(RunTool({"--passes", "5", "--frame", PathOf("folder.png")}).code, 1) << "a folder is not a picture";
}

TEST_F(HeadlessRunTest, AFailedRunKeepsThePreviousTraceByteForByte)
{
    const std::string previous = Write("t.csv", "an earlier trace\n");
    EXPECT_EQ(UnderAFullDisk([&] {
                  return RunTool({"--seed", "1", "--passes", "50", "--table", m_table, "--trace", previous}).code;
              }),
              1);
    EXPECT_EQ(Read(previous), "an earlier trace\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_directory), {}), 2) << "a temporary was left";
}

TEST_F(HeadlessRunTest, ARobotThrownOutOfTheWorldEndsTheRunWithFiniteFigures)
{
    // Speeds of 1e308 overflowed the position to infinity, then NaN: each pass then took
    // tens of milliseconds drawing, and the run printed "distance: -nan" with code 0.
    // Angles of 1e308 kept the robot home, but sines of its heading took the slow path:
    // ten times the time of a pass.
    for (const char* line : {"1e308 1e308\n", "1e308 1\n", "0 1e7\n"}) {
        std::string absurd;
        for (int k = 0; k < 8; ++k) absurd += line;
        const Outcome outcome =
            RunTool({"--seed", "1", "--passes", "3000", "--table", Write("absurd.ifi", absurd), "--trace",
                     PathOf("t.csv"), "--plot", PathOf("p.png"), "--frame", PathOf("f.png")});
        ASSERT_EQ(outcome.code, 0) << outcome.err;
        EXPECT_NE(outcome.out.find("left the world: after pass 1,"), std::string::npos) << line << outcome.out;
        EXPECT_NE(outcome.out.find("passes: 1\n"), std::string::npos) << outcome.out;
        for (const char* lost : {"nan", "inf"}) EXPECT_EQ(outcome.out.find(lost), std::string::npos) << outcome.out;
        const std::string trace = Read(PathOf("t.csv"));
        EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 2) << "the header and the one pass";
    }

    // A robot that merely drives off its picture stays in the world and runs every pass.
    const Outcome away =
        RunTool({"--seed", "1", "--passes", "3000", "--table", Write("away.ifi", "0 3 0 3 0 3 0 3 0 3 0 3 0 3 0 3\n")});
    EXPECT_NE(away.out.find("passes: 3000\n"), std::string::npos) << away.out;
    EXPECT_EQ(away.out.find("left the world"), std::string::npos) << away.out;
}
