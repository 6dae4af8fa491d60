#include "common/ProgramVersion.h"

std::string VersionLine(const std::string& program)
{
    return program + " " + MARLUNE_VERSION + "\n";
}
