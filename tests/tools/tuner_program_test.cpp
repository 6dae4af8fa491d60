#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "../world/ScratchFolder.h"
#include "InferenceFile.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

pid_t Start(std::vector<std::string> arguments, const fs::path& output)
{
    arguments.insert(arguments.begin(), MARLUNE_TUNE_PATH);
    std::vector<char*> argv;
    for (auto& a : arguments)
        argv.push_back(a.data());
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
    const pid_t pid = Start({"--seed", "3", "--arenas", "1", "--passes", "100", "--population", "4",
                             "--generations", "2147483647", "--threads", "2", "--out", table.string()},
                            dir.path / "out.txt");
    ASSERT_GT(pid, 0);
    // Interrupt once the program has announced its run: its Ctrl-C handler is in place by then.
    for (int i = 0; i < 100 && Read(dir.path / "out.txt").find("marlune-tune: seed") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
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
    const pid_t refused = Start({"--start", half.string(), "--out", (dir.path / "x.ifi").string()}, dir.path / "1.txt");
    EXPECT_EQ(Wait(refused), 2);
    EXPECT_FALSE(fs::exists(dir.path / "x.ifi"));
    EXPECT_NE(Read(dir.path / "1.txt").find("holds 4 readable numbers"), std::string::npos);

    const pid_t unwritable = Start({"--arenas", "1", "--passes", "10", "--population", "4", "--generations", "0",
                                    "--out", (dir.path / "missing" / "x.ifi").string()},
                                   dir.path / "2.txt");
    EXPECT_EQ(Wait(unwritable), 1);
    EXPECT_NE(Read(dir.path / "2.txt").find("cannot write"), std::string::npos);
}
