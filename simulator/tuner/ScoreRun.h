#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// The whole of marlune-score: parses the arguments that follow the program name, scores
// every table that can be read on the same arenas and prints the rows best first, then
// writes the CSV and the chart asked for. Ctrl-C stops after the tables finished, whose
// rows are still printed and written; the process's own Ctrl-C handling is given back on
// return. Returns the exit code: 0 every table read, scored and meeting --require; 1 a
// table missed it or could not be read, the scoring was stopped, or an output could not
// be written; 2 a bad command line (one line on err, before any run).
int RunScore(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
