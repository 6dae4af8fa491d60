#include "TableLoading.h"

#include <cmath>

#include "CommandLineValues.h"
#include "InferenceFile.h"

InferenceTable LoadTableForRun(const std::string& path, const std::string& option)
{
    InferenceTable table;
    const int numbers = LoadInferenceFile(path, table);
    if (numbers < 0) throw UsageError(option + ": cannot read '" + path + "'");
    if (numbers < 2 * InferenceTable::kSituations)
        throw UsageError(option + ": '" + path + "' holds " + std::to_string(numbers) +
                         " readable numbers, a table needs 16");
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        if (!std::isfinite(table.angles[k]) || !std::isfinite(table.speeds[k]))
            throw UsageError(option + ": '" + path + "' holds a number that is not finite (S" + std::to_string(k + 1) +
                             ")");
    return table;
}
