#pragma once
#include <string>
#include <vector>

#include "common/CommandLineValues.h"
#include "tuner/TableTuning.h"
#include "tuner/TuningFront.h"

struct TunerOptions : InformationOptions {
    TuningSettings settings;
    std::string outPath = "best.ifi";
    std::string reportPath;   // empty: next to the table, .txt instead of .ifi
    std::string startPath;    // table that joins the first population
    std::string comparePath;  // table whose figures the report shows beside the tuned one
    std::string frontPath;    // the front's picture; its CSV beside it
    std::string fromPath;     // a front's CSV to pick from, without a search
    FrontPick pick;
};

// The CSV written beside the front's picture: FILE.png gives FILE.csv.
std::string FrontCsvPath(const std::string& picturePath);

// Reads the command line (without the program name). Throws UsageError with a
// one-line message for an unknown option, a missing or malformed value, or bounds
// that leave nothing to search.
TunerOptions ParseTunerOptions(const std::vector<std::string>& arguments, int defaultThreads);

std::string TunerHelp();

// About how many bytes a search with these settings holds at once: the arena seeds, the
// tables of a generation and their trials, the totals of every (table, arena) pair and
// one world per thread.
double TuningMemoryBytes(const TuningSettings& settings);

// Throws UsageError, before anything is allocated, when the search would need more than
// `availableBytes`: a count typed one digit too long must not take the machine down.
void RefuseSearchesBeyondMemory(const TuningSettings& settings, double availableBytes);

// The report's path when --report is not given.
std::string DefaultReportPath(const std::string& outPath);
