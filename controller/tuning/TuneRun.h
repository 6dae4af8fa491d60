#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// trundel-tune from its arguments to its exit code: the search, the table file and the
// report. Messages go to err, the report and what was written to out.
int RunTrundelTune(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
