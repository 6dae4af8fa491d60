#include "interop/TableLoading.h"

#include <cmath>

#include "common/CommandLineValues.h"
#include "interop/TableFiles.h"

InferenceTable LoadTableForRun(const std::string& path, const std::string& option)
{
    InferenceTable table;
    TableRefusal refusal;
    if (!LoadTableFile(path, table, refusal)) throw UsageError(option + ": " + refusal.english);
    return table;
}

bool IsFiniteTable(const InferenceTable& table)
{
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        if (!std::isfinite(table.angles[k]) || !std::isfinite(table.speeds[k])) return false;
    return true;
}
