#include "InferenceFile.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace {

// Tables travel between machines: the decimal point must not follow the user's locale.
// Switches this thread alone to the "C" locale, so other threads keep theirs.
class ScopedClassicLocale {
public:
    ScopedClassicLocale()
        : classic_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))),
          previous_(classic_ ? uselocale(classic_) : static_cast<locale_t>(nullptr))
    {
    }
    ~ScopedClassicLocale()
    {
        if (!classic_) return;
        uselocale(previous_);
        freelocale(classic_);
    }
    ScopedClassicLocale(const ScopedClassicLocale&) = delete;
    ScopedClassicLocale& operator=(const ScopedClassicLocale&) = delete;

private:
    locale_t classic_;
    locale_t previous_;
};

}  // namespace

bool SaveInferenceFile(const std::string& path, const InferenceTable& table)
{
    ScopedClassicLocale classic;
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    bool written = true;
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        written = std::fprintf(file, "%lf %lf\n", table.angles[k], table.speeds[k]) > 0 && written;
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

int LoadInferenceFile(const std::string& path, InferenceTable& table)
{
    ScopedClassicLocale classic;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return -1;
    int count = 0;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        if (std::fscanf(file, "%lf", &table.angles[k]) != 1) break;
        ++count;
        if (std::fscanf(file, "%lf", &table.speeds[k]) != 1) break;
        ++count;
    }
    std::fclose(file);
    return count;
}
