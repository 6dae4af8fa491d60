#pragma once
#include <string>

#include "InferenceTable.h"

// Reads a whole inference table for a run. Unlike the dialog, which keeps the old
// entries after a short file, a run must never steer with half a table: a file that
// cannot be opened, holds a byte that is not text, fewer than sixteen numbers or an
// infinite or NaN one throws UsageError.
InferenceTable LoadTableForRun(const std::string& path, const std::string& option = "--table");

// Whether situation k, or the whole table, holds only finite numbers.
bool IsFiniteSituation(const InferenceTable& table, int k);
bool IsFiniteTable(const InferenceTable& table);
