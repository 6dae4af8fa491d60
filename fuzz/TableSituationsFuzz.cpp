// Trundel's situation-table reader on any bytes: a table within the robot's ranges or a
// refusal that says where; a NUL or a control byte is never let through.
#include <algorithm>
#include <string>

#include "FichierTableSituations.h"
#include "FuzzArguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* stream = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    if (!stream) return 0;
    TableSituations table{};
    table.vitesse[0] = 1000;
    std::string erreur;
    const bool lue = LireTableSituations(stream, "fuzz", table, erreur);
    std::fclose(stream);

    if (lue) {
        FUZZ_CHECK(erreur.empty());
        for (int k = 0; k < 8; ++k) {
            FUZZ_CHECK(table.vitesse[k] >= -vitesseMax && table.vitesse[k] <= vitesseMax);
            FUZZ_CHECK(table.angle[k] >= -angleMax && table.angle[k] <= angleMax);
        }
        FUZZ_CHECK(std::none_of(data, data + size, [](std::uint8_t byte) {
            return (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7f;
        }));
    } else {
        FUZZ_CHECK(erreur.rfind("fuzz", 0) == 0);
        FUZZ_CHECK(table.vitesse[0] == 1000);
    }
    return 0;
}
