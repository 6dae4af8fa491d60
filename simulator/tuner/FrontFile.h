#pragma once
#include <string>
#include <vector>

#include "tuner/TuningFront.h"

// The tables a search met as CSV, one row each in the order met: their figures on the
// tuning arenas (and the validation arenas for the finalists), their rank on the front,
// which one was chosen, and their sixteen numbers with 17 significant digits, so that a
// table picked from the file later is the very table the search ran.
std::string FrontCsv(const TuningFront& front, const ScoreFormula& formula);

// What a picker needs back from such a file.
struct FrontRows {
    std::vector<InferenceTable> tables;
    std::vector<int> frontRanks;
    std::size_t chosen = 0;
    std::vector<std::string> figures;  // each row's tuning figures, as written
};

// Reads a file FrontCsv wrote. Throws UsageError naming the option, the file and, where
// it is, the line, for an unreadable, oversized or malformed file: the file is a user's,
// and nothing in it is trusted.
FrontRows ReadFrontCsv(const std::string& option, const std::string& path);
// The same from text in memory, `name` standing for its file in messages.
FrontRows ParseFrontCsv(const std::string& option, const std::string& name, const std::string& text);
