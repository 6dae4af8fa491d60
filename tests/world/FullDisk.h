#pragma once
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `action` in a child process whose file-size limit is zero, like a full disk (and
// unlike a read-only folder, it holds for root too); SIGXFSZ is ignored so a write fails
// with EFBIG instead of killing the child. Returns the action's result, or -1 when the
// child did not end normally.
inline int UnderAFullDisk(const std::function<int()>& action)
{
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
        _exit(action());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
