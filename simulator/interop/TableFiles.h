#pragma once
#include <string>

#include "interop/TableEngine.h"
#include "world/InferenceTable.h"

// Table files chosen by their extension (any case): Marlune's own .ifi, and the fuzzylite
// formats .fll (fuzzylite language), .fis (Matlab/Octave) and .fcl (IEC 61131-7).
enum class TableFileFormat { Ifi, Fll, Fis, Fcl, Unknown };
TableFileFormat TableFileFormatOf(const std::string& path);

// The ramp every run steers with, read once from a simulation prepared for a run.
RampBounds RunRampBounds();

// Reads a whole table for steering: .fll and .fis as fuzzylite engines, .fcl refused,
// any other name as an .ifi, which must hold sixteen finite numbers; an .fll or .fis must be an engine of exactly the
// exported shape with the run's ramp. On refusal `table` is left as it was and `refusal` says why, naming the file.
// (The dialog's lenient .ifi loading, which keeps old entries after a short file, stays LoadInferenceFile's.)
bool LoadTableFile(const std::string& path, InferenceTable& table, TableRefusal& refusal);

// Writes the table as a fuzzylite engine with the run's ramp, 17 significant digits, in
// the format of the extension (.fll, .fis or .fcl), through an atomic replace. Returns
// false with the reason when the extension is none of these or the file is not written.
bool ExportTableFile(const std::string& path, const InferenceTable& table, TableRefusal& refusal);
