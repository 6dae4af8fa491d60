#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/CommandLineValues.h"
#include "world/InferenceTable.h"

// What `marlune [TABLE] [--seed N]` asks for. With no argument nothing is set and the
// program starts as it always did: an all-zero table, the generator seeded by the clock.
struct DesktopOptions : InformationOptions {
    std::optional<InferenceTable> table;  // loaded whole into the dialog at start
    std::optional<std::uint64_t> seed;    // the world's generator state before the first run
};

// Reads the arguments that follow the program name (Qt's own already taken out) and
// loads the table, which must be complete. Throws UsageError with a one-line message.
DesktopOptions ParseDesktopOptions(const std::vector<std::string>& arguments);

// The --help text.
const char* DesktopHelp();
