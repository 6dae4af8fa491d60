// marlune-tune --from on any bytes: rows a pick can use (one chosen, sixteen finite
// numbers each, ranks from 0) or a UsageError that says why in printable text.
#include <cmath>
#include <string>

#include "FuzzArguments.h"
#include "common/CommandLineValues.h"
#include "tuner/FrontFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const FrontRows rows = ParseFrontCsv("--from", "front.csv", text);
        FUZZ_CHECK(!rows.tables.empty() && rows.chosen < rows.tables.size());
        FUZZ_CHECK(rows.frontRanks.size() == rows.tables.size() && rows.figures.size() == rows.tables.size());
        for (const InferenceTable& table : rows.tables)
            for (int k = 0; k < InferenceTable::kSituations; ++k)
                FUZZ_CHECK(std::isfinite(table.angles[k]) && std::isfinite(table.speeds[k]));
        for (int rank : rows.frontRanks) FUZZ_CHECK(rank >= 0);
    } catch (const UsageError& error) {
        for (const char* c = error.what(); *c; ++c) FUZZ_CHECK(static_cast<unsigned char>(*c) >= 0x20 && *c != 0x7f);
    }
    return 0;
}
