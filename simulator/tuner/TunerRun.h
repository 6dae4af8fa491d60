#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// The whole of marlune-tune: parses the arguments that follow the program name, searches,
// writes the table and the report. Ctrl-C during the run stops the search and still writes
// both; the process's own Ctrl-C handling is given back on return. Returns the exit code:
// 0 done (stopped early or not), 1 an output could not be written, 2 bad options or table
// (one line on err).
int RunTuner(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
