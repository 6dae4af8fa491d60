#include "runner/OutputPaths.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "common/CommandLineValues.h"

namespace fs = std::filesystem;

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0)
        // A device (/dev/null for two outputs nobody wants) holds nothing to destroy.
        return S_ISREG(first.st_mode) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    // A file not written yet can only be the same as another by its name.
    std::error_code firstError;
    std::error_code secondError;
    const fs::path firstName = fs::weakly_canonical(a, firstError);
    const fs::path secondName = fs::weakly_canonical(b, secondError);
    return !firstError && !secondError && firstName == secondName;
}

std::string FolderOf(const std::string& path)
{
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

}  // namespace

void RefuseOutputsOverInputs(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs)
{
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedFile& output = outputs[i];
        if (output.path.empty()) continue;
        for (const NamedFile& input : inputs)
            if (!input.path.empty() && SameFile(output.path, input.path))
                throw UsageError(output.option + ": '" + output.path + "' is the file given to " + input.option +
                                 ", which it would replace");
        for (std::size_t j = 0; j < i; ++j)
            if (!outputs[j].path.empty() && SameFile(output.path, outputs[j].path))
                throw UsageError(output.option + ": '" + output.path + "' is the file given to " + outputs[j].option +
                                 " too");
    }
}

void CheckOutputFolders(const std::vector<NamedFile>& outputs)
{
    for (const NamedFile& output : outputs) {
        if (output.path.empty()) continue;
        const std::string folder = FolderOf(output.path);
        struct stat status {};
        if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
            throw OutputError(output.option + ": cannot write '" + output.path + "': there is no folder '" + folder +
                              "'");
        if (access(folder.c_str(), W_OK | X_OK) != 0)
            throw OutputError(output.option + ": cannot write '" + output.path + "': the folder '" + folder +
                              "' is not writable");
        if (stat(output.path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
            throw OutputError(output.option + ": cannot write '" + output.path + "': it is a folder");
    }
}
