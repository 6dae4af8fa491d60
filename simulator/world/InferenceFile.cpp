#include "world/InferenceFile.h"

#include <clocale>
#include <cstdio>
#include <locale.h>
#include <memory>

#include "common/AtomicFile.h"

namespace {

// Tables travel between machines: the decimal point must not follow the user's locale.
// Switches this thread alone to the "C" locale, so other threads keep theirs.
class ScopedClassicLocale {
public:
    ScopedClassicLocale()
        : m_classic(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))),
          m_previous(m_classic ? uselocale(m_classic) : static_cast<locale_t>(nullptr))
    {
    }
    ~ScopedClassicLocale()
    {
        if (!m_classic) return;
        uselocale(m_previous);
        freelocale(m_classic);
    }
    ScopedClassicLocale(const ScopedClassicLocale&) = delete;
    ScopedClassicLocale& operator=(const ScopedClassicLocale&) = delete;

private:
    locale_t m_classic;
    locale_t m_previous;
};

// A table is text: a NUL or another control byte means the file is something else, or
// damaged, and numbers read around it would be a guess. Returns the line of the first
// such byte, or 0 when there is none.
int FirstNonTextLine(std::FILE* stream)
{
    int line = 1;
    for (int byte = std::getc(stream); byte != EOF; byte = std::getc(stream)) {
        if (byte == '\n')
            ++line;
        else if ((byte < 0x20 && byte != '\t' && byte != '\r') || byte == 0x7f)
            return line;
    }
    return 0;
}

}  // namespace

bool SaveInferenceFile(const std::string& path, const InferenceTable& table)
{
    ScopedClassicLocale classic;
    AtomicFile file(path);
    std::FILE* stream = file.Stream();
    if (!stream) return false;
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        std::fprintf(stream, "%lf %lf\n", table.angles[k], table.speeds[k]);
    return file.Commit();
}

int ReadInferenceStream(std::FILE* stream, InferenceTable& table, int* nonTextLine)
{
    const long start = std::ftell(stream);
    const int badLine = FirstNonTextLine(stream);
    if (std::ferror(stream) || start < 0 || std::fseek(stream, start, SEEK_SET) != 0) return kInferenceFileUnreadable;
    if (badLine > 0) {
        if (nonTextLine) *nonTextLine = badLine;
        return kInferenceFileNotText;
    }
    ScopedClassicLocale classic;
    int count = 0;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        if (std::fscanf(stream, "%lf", &table.angles[k]) != 1) break;
        ++count;
        if (std::fscanf(stream, "%lf", &table.speeds[k]) != 1) break;
        ++count;
    }
    return count;
}

int LoadInferenceFile(const std::string& path, InferenceTable& table, int* nonTextLine)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file) return kInferenceFileUnreadable;
    return ReadInferenceStream(file.get(), table, nonTextLine);
}
