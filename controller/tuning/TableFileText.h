#pragma once
#include <string>

#include "FichierTableSituations.h"

// A situation table as trundel --table reads it, with `heading` (lines of its own,
// without '#') as the comment on top and each situation named on its line.
std::string TableFileText(const TableSituations& table, const std::string& heading);
