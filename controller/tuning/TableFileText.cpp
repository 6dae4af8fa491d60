#include "TableFileText.h"

#include <cstdio>
#include <sstream>

namespace {
const char* const kSituations[8] = {"rien",   "gauche",           "centre",           "gauche et centre",
                                    "droite", "gauche et droite", "centre et droite", "partout"};
}  // namespace

std::string TableFileText(const TableSituations& table, const std::string& heading)
{
    std::string text;
    std::istringstream lines(heading);
    for (std::string line; std::getline(lines, line);) text += "# " + line + "\n";
    text += "# Une ligne « vitesse angle » par situation k = 0..7 (bit 0 : obstacle à gauche,\n"
            "# bit 1 : au centre, bit 2 : à droite) ; angle en degrés, positif vers la gauche.\n";
    for (int k = 0; k < 8; ++k) {
        char line[96];
        std::snprintf(line, sizeof line, "%d %d    # k=%d %s\n", table.vitesse[k], table.angle[k], k, kSituations[k]);
        text += line;
    }
    return text;
}
