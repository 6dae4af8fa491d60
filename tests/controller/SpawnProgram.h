#pragma once
#include <spawn.h>
#include <unistd.h>

#include <string>
#include <vector>

// Starts `program` as a user's shell would, with `arguments` after its own name and the
// given file actions; returns the child's pid, or -1 when it could not be started.
inline pid_t SpawnProgram(const char* program, std::vector<std::string> arguments,
                          const posix_spawn_file_actions_t& actions)
{
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}
