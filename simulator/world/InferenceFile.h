#pragma once
#include <string>

#include "InferenceTable.h"

// Inference files (.ifi): eight lines "angle speed", angle then speed of S1..S8, each
// written like printf's "%lf". The decimal separator is always the point, whatever
// locale the process runs under.

// Writes the table. Returns false when the file cannot be opened, written or closed.
bool SaveInferenceFile(const std::string& path, const InferenceTable& table);

// Reads up to sixteen numbers (angle S1, speed S1, ... speed S8; any white space
// between them, anything after the sixteenth ignored) into the table, in that order.
// The entries from the first missing or unreadable number on keep their values.
// Returns how many numbers were read (0..16), or -1 when the file cannot be opened.
int LoadInferenceFile(const std::string& path, InferenceTable& table);
