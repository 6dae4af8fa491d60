#pragma once
#include <optional>
#include <string>
#include <vector>

#include "EmulatedRobot.h"
#include "TableSearch.h"
#include "common/CommandLineValues.h"

// trundel-tune's command line.
struct TuneOptions : InformationOptions {
    TableSearchSettings search;
    std::vector<std::string> roomPaths;
    std::string outPath = "trundel-tuned.txt";
    std::string reportPath;    // empty: the report goes to the standard output only
    std::string startPath;     // a table that joins the first population
    std::string comparePath;   // a table reported beside the one found
    int validationStarts = 5;  // per room, drawn apart from the tuning starts
    // No search: one drive of the --table table from this pose, reported as
    // trundel-robot --report reports a run.
    std::optional<emulator::Pose> drivePose;
    std::string tablePath;
};

// Throws UsageError for anything it cannot act on.
TuneOptions ParseTuneOptions(const std::vector<std::string>& arguments, int defaultWorkers);
std::string TuneHelp();
