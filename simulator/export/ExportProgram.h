#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// The whole of marlune-export: reads a table (.ifi, .fll or .fis) and writes it as a
// fuzzylite engine (.fll, .fis or .fcl, from the extension) and/or its command surface as
// a picture. Returns the exit code: 0 done, 1 an output could not be written, 2 bad
// arguments or table (one line on err).
int RunExport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
