#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "../world/FullDisk.h"
#include "../world/ScratchFolder.h"
#include "tuner/FrontFile.h"
#include "tuner/TunerRun.h"
#include "world/InferenceFile.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

pid_t Start(std::vector<std::string> arguments, const fs::path& output)
{
    arguments.insert(arguments.begin(), MARLUNE_TUNE_PATH);
    std::vector<char*> argv;
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Out and err in one stream, in the order written, as a terminal would show them.
struct TunerCall {
    int code;
    std::string output;
};

TunerCall CallTuner(const std::vector<std::string>& arguments)
{
    std::ostringstream output;
    const int code = RunTuner(arguments, output, output);
    return {code, output.str()};
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(TunerProgram, CtrlCStillWritesTheBestTableAndTheReport)
{
    ScratchFolder dir;
    const fs::path table = dir.path / "stopped.ifi";
    // Far more generations than the test waits for: the most the option takes.
    const pid_t pid = Start({"--seed", "3", "--arenas", "1", "--passes", "100", "--population", "4", "--generations",
                             "2147483647", "--threads", "2", "--out", table.string()},
                            dir.path / "out.txt");
    ASSERT_GT(pid, 0);
    // Interrupt once the program has announced its run: its Ctrl-C handler is in place by
    // then. A busy machine may take long to start it; a Ctrl-C before would end it at once.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Read(dir.path / "out.txt").find("marlune-tune: seed") == std::string::npos &&
           std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(Read(dir.path / "out.txt").find("marlune-tune: seed"), std::string::npos) << "the run never started";
    // Well into the search, so that the interrupted search is the one tested.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGINT);
    EXPECT_EQ(Wait(pid), 0) << Read(dir.path / "out.txt");

    InferenceTable loaded;
    EXPECT_EQ(LoadInferenceFile(table.string(), loaded), 16);
    for (int k = 0; k < 8; ++k) {
        EXPECT_GE(loaded.angles[k], -90.0);
        EXPECT_LE(loaded.angles[k], 90.0);
        EXPECT_GE(loaded.speeds[k], 0.0);
        EXPECT_LE(loaded.speeds[k], 3.0);
    }
    const std::string report = Read(dir.path / "stopped.txt");
    EXPECT_NE(report.find("stopped by the user"), std::string::npos) << report;
    EXPECT_NE(report.find("validation arenas"), std::string::npos) << report;
}

TEST(TunerProgram, RefusesAHalfTableAndAnUnwritableOutput)
{
    ScratchFolder dir;
    const fs::path half = dir.path / "half.ifi";
    std::ofstream(half) << "10 1\n20 2\n";
    const TunerCall refused = CallTuner({"--start", half.string(), "--out", (dir.path / "x.ifi").string()});
    EXPECT_EQ(refused.code, 2);
    EXPECT_FALSE(fs::exists(dir.path / "x.ifi"));
    EXPECT_NE(refused.output.find("holds 4 readable numbers"), std::string::npos);

    const TunerCall unwritable = CallTuner({"--arenas", "1", "--passes", "10", "--population", "4", "--generations",
                                            "0", "--out", (dir.path / "missing" / "x.ifi").string()});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_NE(unwritable.output.find("cannot write"), std::string::npos);
    EXPECT_EQ(unwritable.output.find("arenas x"), std::string::npos) << "found only after the search";
}

TEST(TunerProgram, AnOutputOverAnInputOrAHugeSearchIsRefusedWithCodeTwo)
{
    ScratchFolder dir;
    const fs::path start = dir.path / "start.ifi";
    const std::string table = "10 1\n20 2\n30 3\n40 1\n50 2\n60 3\n70 1\n80 2\n";
    std::ofstream(start) << table;
    const TunerCall overStart = CallTuner({"--start", start.string(), "--out", start.string()});
    EXPECT_EQ(overStart.code, 2);
    EXPECT_NE(overStart.output.find("--start"), std::string::npos) << overStart.output;
    const TunerCall reportOverCompare =
        CallTuner({"--compare", start.string(), "--out", (dir.path / "x.ifi").string(), "--report", start.string()});
    EXPECT_EQ(reportOverCompare.code, 2);
    EXPECT_EQ(Read(start), table);

    // It used to abort with std::bad_alloc (exit 134), or fill the memory before a word.
    for (const char* count : {"--population", "--arenas"}) {
        const TunerCall huge = CallTuner({count, "2147483647", "--out", (dir.path / "x.ifi").string()});
        EXPECT_EQ(huge.code, 2) << count;
        EXPECT_NE(huge.output.find("memory"), std::string::npos) << huge.output;
    }
    EXPECT_FALSE(fs::exists(dir.path / "x.ifi"));
}

TEST(TunerProgram, AFailedSaveLeavesThePreviousTableByteForByte)
{
    ScratchFolder dir;
    const fs::path keep = dir.path / "keep.ifi";
    std::ofstream(keep) << "previous table\n";
    const int code = UnderAFullDisk([&] {
        return CallTuner({"--arenas", "1", "--passes", "10", "--population", "4", "--generations", "0", "--threads",
                          "1", "--out", keep.string()})
            .code;
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Read(keep), "previous table\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 1) << "a temporary was left";
}

// A run called from a process that has its own Ctrl-C handling (a test runner, a
// front end) must hand it back; and nothing of one run may leak into the next.
TEST(TunerProgram, ARunWritesBothFilesAndGivesBackTheCallersCtrlC)
{
    ScratchFolder dir;
    struct sigaction own {};
    own.sa_handler = SIG_IGN;
    sigemptyset(&own.sa_mask);
    struct sigaction before {};
    sigaction(SIGINT, &own, &before);

    const fs::path table = dir.path / "quick.ifi";
    const std::vector<std::string> arguments{"--seed",       "5",           "--arenas",      "1", "--passes",  "20",
                                             "--population", "4",           "--generations", "1", "--threads", "2",
                                             "--out",        table.string()};
    const TunerCall first = CallTuner(arguments);
    const TunerCall second = CallTuner(arguments);

    struct sigaction after {};
    sigaction(SIGINT, &before, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);

    for (const TunerCall& call : {first, second}) {
        EXPECT_EQ(call.code, 0) << call.output;
        EXPECT_NE(call.output.find("report written to " + (dir.path / "quick.txt").string()), std::string::npos)
            << call.output;
        EXPECT_EQ(call.output.find("stopped early"), std::string::npos) << call.output;
    }
    EXPECT_EQ(first.output, second.output) << "the same seed searches the same way";
    InferenceTable loaded;
    EXPECT_EQ(LoadInferenceFile(table.string(), loaded), 16);
}

TEST(TunerProgram, TheFrontIsDrawnAndATableIsPickedFromItLaterWithoutASearch)
{
    ScratchFolder dir;
    const fs::path chosen = dir.path / "chosen.ifi", front = dir.path / "front.png";
    const TunerCall search =
        CallTuner({"--seed", "7", "--arenas", "2", "--passes", "300", "--population", "6", "--generations", "2",
                   "--threads", "2", "--out", chosen.string(), "--front", front.string()});
    ASSERT_EQ(search.code, 0) << search.output;
    EXPECT_NE(search.output.find("gap (validation - tuning score)"), std::string::npos) << search.output;
    ASSERT_TRUE(fs::exists(front));
    const FrontRows rows = ReadFrontCsv("--from", (dir.path / "front.csv").string());
    EXPECT_EQ(rows.tables.size(), 18u) << "every table of the three generations";

    auto sixteen = [](const fs::path& path) {
        InferenceTable table;
        EXPECT_EQ(LoadInferenceFile(path.string(), table), 16) << path;
        std::vector<double> numbers(table.angles, table.angles + 8);
        numbers.insert(numbers.end(), table.speeds, table.speeds + 8);
        return numbers;
    };
    const std::vector<double> written = sixteen(chosen);
    // Picked later from the file: the balanced table is the one the search wrote, the
    // cautious and fast ones the ends of the front.
    for (const char* pick : {"balanced", "cautious", "fast"}) {
        const fs::path picked = dir.path / (std::string(pick) + ".ifi");
        const TunerCall call =
            CallTuner({"--from", (dir.path / "front.csv").string(), "--pick", pick, "--out", picked.string()});
        ASSERT_EQ(call.code, 0) << call.output;
        EXPECT_EQ(call.output.find("arenas x"), std::string::npos) << "no search: " << call.output;
        if (std::string(pick) == "balanced") {
            EXPECT_EQ(sixteen(picked), written);
        }
    }
    const TunerCall beyond = CallTuner(
        {"--from", (dir.path / "front.csv").string(), "--pick", "999", "--out", (dir.path / "x.ifi").string()});
    EXPECT_EQ(beyond.code, 2);
    EXPECT_NE(beyond.output.find("no rank 999"), std::string::npos) << beyond.output;
    const TunerCall notAFront = CallTuner({"--from", chosen.string(), "--out", (dir.path / "x.ifi").string()});
    EXPECT_EQ(notAFront.code, 2);
    EXPECT_FALSE(fs::exists(dir.path / "x.ifi"));
}
