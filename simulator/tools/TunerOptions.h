#pragma once
#include <string>
#include <vector>

#include "TableTuning.h"

struct TunerOptions {
    TuningSettings settings;
    std::string outPath = "best.ifi";
    std::string reportPath;   // empty: next to the table, .txt instead of .ifi
    std::string startPath;    // table that joins the first population
    std::string comparePath;  // table whose figures the report shows beside the tuned one
    bool help = false;
};

// Reads the command line (without the program name). Throws UsageError with a
// one-line message for an unknown option, a missing or malformed value, or bounds
// that leave nothing to search.
TunerOptions ParseTunerOptions(const std::vector<std::string>& arguments, int defaultThreads);

std::string TunerHelp();

// The report's path when --report is not given.
std::string DefaultReportPath(const std::string& outPath);
