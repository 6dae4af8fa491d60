#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/CommandLineValues.h"
#include "runner/OutputPaths.h"

// What marlune-run was asked to do. Empty paths mean "do not write that output".
struct RunnerOptions : InformationOptions {
    std::string tablePath;              // empty: the all-zero table of a fresh dialog
    std::optional<std::uint64_t> seed;  // none: the tick counter seeds the world
    long long passes = 3000;
    bool beams = false;
    std::string tracePath;
    std::string arenaPath;
    std::string freeMapPath;
    std::string framePath;
    std::string plotPath;
    std::string videoPath;  // .mp4 or .gif: every pass's frame
    int framesPerSecond = 25;
    int zoom = 1;            // --frame and --video enlarged, each pixel a zoom × zoom square
    bool inference = false;  // --frame and --video carry the reasoning of the pass beside the arena
};

// Reads the arguments that follow the program name. Throws UsageError on anything
// unknown, a missing or malformed value, or a picture path no image writer accepts.
RunnerOptions ParseRunnerOptions(const std::vector<std::string>& arguments);

// The files the run will write, each with its option, in the order of the options.
std::vector<NamedFile> RunnerOutputs(const RunnerOptions& options);

// The --help text.
const char* RunnerHelp();
