#pragma once
#include <atomic>
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

// Work spread over processes rather than threads: Trundel's decision code keeps its state
// in globals, and a process of its own gives each worker its own. Item i goes to worker
// i mod workers; each result comes back whole through a pipe, so the results do not
// depend on how many workers there are or which finishes first. A worker's standard
// output goes to /dev/null (the decision code prints as it would on a console) and it
// ignores Ctrl-C, which its parent answers for it.
//
// Returns false when stop was raised (the workers are then ended at once) or a worker
// failed; `error` then says which, or stays empty for a stop.
bool RunInWorkerProcesses(std::size_t items, std::size_t resultBytes, int workers,
                          const std::function<void(std::size_t item, unsigned char* result)>& work,
                          std::vector<unsigned char>& results, const std::atomic<bool>* stop, std::string& error);

// The same for results of a plain type, copied byte for byte.
template <class Result>
bool RunInWorkerProcesses(std::size_t items, int workers, const std::function<Result(std::size_t item)>& work,
                          std::vector<Result>& results, const std::atomic<bool>* stop, std::string& error)
{
    static_assert(std::is_trivially_copyable_v<Result>);
    std::vector<unsigned char> bytes;
    const bool done = RunInWorkerProcesses(
        items, sizeof(Result), workers,
        [&work](std::size_t item, unsigned char* out) {
            const Result result = work(item);
            std::memcpy(out, &result, sizeof result);
        },
        bytes, stop, error);
    if (!done) return false;
    results.resize(items);
    for (std::size_t i = 0; i < items; ++i) std::memcpy(&results[i], bytes.data() + i * sizeof(Result), sizeof(Result));
    return true;
}
