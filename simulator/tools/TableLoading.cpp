#include "TableLoading.h"

#include "CommandLineValues.h"
#include "TableFiles.h"

InferenceTable LoadTableForRun(const std::string& path, const std::string& option)
{
    InferenceTable table;
    TableRefusal refusal;
    if (!LoadTableFile(path, table, refusal)) throw UsageError(option + ": " + refusal.english);
    return table;
}
