#pragma once
#include <memory>
#include <string>

#include "world/InferenceTable.h"

namespace fl {
class Engine;
}

// The ramp a run steers with: a sector is wholly blocked up to nearDistance and wholly
// free from farDistance on.
struct RampBounds {
    double nearDistance = 0;
    double farDistance = 0;
};

// Why a file or an engine was not taken as a table, said for the dialog and for the tools.
struct TableRefusal {
    std::string french;
    std::string english;
};

// The table as a fuzzylite Takagi-Sugeno engine: inputs left, front, right with the
// terms blocked and free on the ramp, outputs angle and speed with the constants S1..S8,
// one rule per situation.
std::unique_ptr<fl::Engine> BuildTableEngine(const InferenceTable& table, RampBounds ramp);

// Reads the sixteen constants back from an engine of exactly the shape BuildTableEngine
// makes with this ramp. Anything else (a missing or extra variable, term or rule, another
// ramp, operator or defuzzifier, a hedge) is refused, and `table` is left as it was.
bool ReadTableEngine(const fl::Engine& engine, RampBounds ramp, InferenceTable& table, TableRefusal& refusal);
