// The .ifi reader on any bytes: a count from 0 to 16, or a refusal that names a line of
// the file; never a table half changed by a refused file.
#include <algorithm>

#include "FuzzArguments.h"
#include "world/InferenceFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* stream = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    if (!stream) return 0;  // fmemopen refuses an empty buffer
    InferenceTable table;
    table.angles[0] = 42;
    int line = 0;
    const int read = ReadInferenceStream(stream, table, &line);
    std::fclose(stream);

    const bool text = std::all_of(data, data + size, [](std::uint8_t byte) {
        return byte >= 0x20 ? byte != 0x7f : byte == '\t' || byte == '\r' || byte == '\n';
    });
    if (text) {
        FUZZ_CHECK(read >= 0 && read <= 2 * InferenceTable::kSituations);
    } else {
        FUZZ_CHECK(read == kInferenceFileNotText);
        FUZZ_CHECK(line >= 1 && line <= 1 + std::count(data, data + size, '\n'));
        FUZZ_CHECK(table.angles[0] == 42);
    }
    return 0;
}
