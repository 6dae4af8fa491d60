#pragma once
// trundel-robot started as a user starts it, for the tests of the program itself.
#include "SpawnProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <utility>
#include <vector>

inline std::string Contents(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The program started in the current folder, its output and errors in files there.
class RobotProgram {
public:
    explicit RobotProgram(std::vector<std::string> arguments)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "sortie", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "erreurs", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_ = SpawnProgram(TRUNDEL_ROBOT_PROGRAMME, std::move(arguments), actions);
        EXPECT_GT(pid_, 0);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~RobotProgram()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    // The terminal's path once printed; empty if the program ended first.
    std::string Device()
    {
        for (int i = 0; i < 2000; ++i) {
            const std::string out = Contents("sortie");
            if (out.find('\n') != std::string::npos) return out.substr(0, out.find('\n'));
            if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
                pid_ = -1;
                return {};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }
    int End(int signal = 0)
    {
        if (pid_ > 0) {
            if (signal) ::kill(pid_, signal);
            ::waitpid(pid_, &status_, 0);
            pid_ = -1;
        }
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
};
