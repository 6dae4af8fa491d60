#pragma once
#include <string>
#include <vector>

#include "tuner/TableScore.h"

// The rows as marlune-score prints them, in the order given, one line each under a line
// of headings; the coverage as a percentage. `withRequirement` adds whether each table
// met --require and, when not, the clauses it missed.
std::string FormatScoreRows(const std::vector<TableScore>& rows, bool withRequirement);

// The rows as CSV, one line each under a line of headings: every figure with 17
// significant digits and the bounds of its interval (empty with one arena), the coverage
// as a share from 0 to 1, then "met" or "missed" (empty without --require or for a table
// not read) and the reason a table could not be read.
std::string ScoreCsv(const std::vector<TableScore>& rows, bool withRequirement);
