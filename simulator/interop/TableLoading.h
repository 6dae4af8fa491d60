#pragma once
#include <string>

#include "world/InferenceTable.h"

// Reads a whole inference table for a run (.ifi, or a fuzzylite .fll or .fis engine of
// the exported shape). Unlike the dialog, which keeps the old entries after a short
// .ifi, a run must never steer with half a table: any refusal throws UsageError.
InferenceTable LoadTableForRun(const std::string& path, const std::string& option = "--table");

// Whether every angle and speed of the table is a finite number.
bool IsFiniteTable(const InferenceTable& table);
