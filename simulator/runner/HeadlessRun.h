#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "runner/PassPanel.h"

// The whole of marlune-run: parses the arguments that follow the program name, runs,
// writes the requested files and the summary. Returns the exit code: 0 done,
// 1 an output could not be written, 2 bad options or table (one line on err).
// `makePanel` draws --inference's panel; without it --inference is refused.
int RunMarlune(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               const PassPanelMaker& makePanel = {});
