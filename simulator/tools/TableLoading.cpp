#include "TableLoading.h"

#include <cmath>

#include "CommandLineValues.h"
#include "InferenceFile.h"

InferenceTable LoadTableForRun(const std::string& path, const std::string& option)
{
    InferenceTable table;
    int nonTextLine = 0;
    const int numbers = LoadInferenceFile(path, table, &nonTextLine);
    if (numbers == kInferenceFileNotText)
        throw UsageError(option + ": '" + path + "' is not a table: line " + std::to_string(nonTextLine) +
                         " holds a byte that is not text");
    if (numbers < 0) throw UsageError(option + ": cannot read '" + path + "'");
    if (numbers < 2 * InferenceTable::kSituations)
        throw UsageError(option + ": '" + path + "' holds " + std::to_string(numbers) +
                         " readable numbers, a table needs 16");
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        if (!IsFiniteSituation(table, k))
            throw UsageError(option + ": '" + path + "' holds a number that is not finite (S" + std::to_string(k + 1) +
                             ")");
    return table;
}

bool IsFiniteSituation(const InferenceTable& table, int k)
{
    return std::isfinite(table.angles[k]) && std::isfinite(table.speeds[k]);
}

bool IsFiniteTable(const InferenceTable& table)
{
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        if (!IsFiniteSituation(table, k))
            return false;
    return true;
}
