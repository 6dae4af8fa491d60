#include "WorkerProcesses.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>

namespace {

struct Worker {
    pid_t pid = -1;
    int pipe = -1;
};

bool WriteAll(int descriptor, const unsigned char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t written = ::write(descriptor, bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

[[noreturn]] void WorkerMain(std::size_t first, std::size_t items, std::size_t step, std::size_t resultBytes,
                             const std::function<void(std::size_t, unsigned char*)>& work, int pipe)
{
    std::signal(SIGINT, SIG_IGN);
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, STDOUT_FILENO);
    std::vector<unsigned char> result(resultBytes);
    for (std::size_t item = first; item < items; item += step) {
        work(item, result.data());
        if (!WriteAll(pipe, result.data(), resultBytes)) ::_exit(1);
    }
    std::fflush(stdout);
    ::_exit(0);
}

// Reads what the worker sent; false at a short read or when stop was raised.
bool ReadAll(int descriptor, unsigned char* bytes, std::size_t count, const std::atomic<bool>* stop)
{
    while (count > 0) {
        if (stop && stop->load()) return false;
        const ssize_t got = ::read(descriptor, bytes, count);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

void EndWorkers(std::vector<Worker>& workers, bool kill)
{
    for (Worker& worker : workers) {
        if (worker.pipe >= 0) ::close(worker.pipe);
        if (worker.pid > 0) {
            if (kill) ::kill(worker.pid, SIGKILL);
            int status = 0;
            while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
}

}  // namespace

bool RunInWorkerProcesses(std::size_t items, std::size_t resultBytes, int workerCount,
                          const std::function<void(std::size_t item, unsigned char* result)>& work,
                          std::vector<unsigned char>& results, const std::atomic<bool>* stop, std::string& error)
{
    error.clear();
    results.assign(items * resultBytes, 0);
    if (items == 0) return true;
    const std::size_t step = std::min<std::size_t>(items, static_cast<std::size_t>(std::max(1, workerCount)));
    // A child would write again what the parent's buffers still hold.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::vector<Worker> workers;
    for (std::size_t w = 0; w < step; ++w) {
        int ends[2];
        if (::pipe(ends) != 0) {
            error = std::string("impossible de créer un tube vers un processus d'évaluation : ") + std::strerror(errno);
            EndWorkers(workers, true);
            return false;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(ends[0]);
            for (const Worker& earlier : workers) ::close(earlier.pipe);
            WorkerMain(w, items, step, resultBytes, work, ends[1]);
        }
        ::close(ends[1]);
        if (pid < 0) {
            error = std::string("impossible de lancer un processus d'évaluation : ") + std::strerror(errno);
            ::close(ends[0]);
            EndWorkers(workers, true);
            return false;
        }
        workers.push_back(Worker{pid, ends[0]});
    }
    // Each worker's results arrive in the order of its items; one whose pipe is full
    // waits for its turn to be read, which comes whatever the others do.
    for (std::size_t w = 0; w < step; ++w) {
        for (std::size_t item = w; item < items; item += step) {
            if (!ReadAll(workers[w].pipe, results.data() + item * resultBytes, resultBytes, stop)) {
                const bool stopped = stop && stop->load();
                if (!stopped) error = "un processus d'évaluation s'est arrêté avant d'avoir fini";
                EndWorkers(workers, true);
                return false;
            }
        }
    }
    EndWorkers(workers, false);
    return true;
}
