#pragma once
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "FuzzArguments.h"
#include "interop/TableFiles.h"

// Writes the bytes to a file of this process with the extension, and loads it as a
// table: a table of finite numbers, or a refusal that changes nothing and prints safely.
inline void CheckTableFile(const std::uint8_t* data, std::size_t size, const std::string& extension)
{
    static const std::string stem = "/tmp/table-file-fuzz-" + std::to_string(::getpid());
    const std::string path = stem + extension;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    InferenceTable table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) table.angles[k] = table.speeds[k] = 42;
    const InferenceTable before = table;
    TableRefusal refusal;
    if (LoadTableFile(path, table, refusal)) {
        for (int k = 0; k < InferenceTable::kSituations; ++k)
            FUZZ_CHECK(std::isfinite(table.angles[k]) && std::isfinite(table.speeds[k]));
    } else {
        FUZZ_CHECK(std::memcmp(&table, &before, sizeof table) == 0);
        for (const std::string& message : {refusal.french, refusal.english}) {
            FUZZ_CHECK(message.find(path) != std::string::npos);
            for (char byte : message) FUZZ_CHECK(static_cast<unsigned char>(byte) >= 0x20 && byte != 0x7f);
        }
    }
    std::remove(path.c_str());
}
