#pragma once
#include <stdexcept>
#include <string>
#include <vector>

// A file a program reads or writes, with the option that named it (for messages).
struct NamedFile {
    std::string option;
    std::string path;  // empty: not asked for
};

// An output that cannot be written where it was asked for: exit code 1, before the work.
struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws UsageError when an output is one of the inputs or another output, under any
// name (a link, a hard link, "./x" for "x"): writing it would destroy the file the run
// reads, or the other output.
void RefuseOutputsOverInputs(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs);

// Throws OutputError when an output's folder is missing or not writable, or the output
// is itself a folder, so that a typo costs nothing rather than a whole run.
void CheckOutputFolders(const std::vector<NamedFile>& outputs);
