#include "RunTally.h"

#include <cstdio>

namespace emulator {

std::string RunReportText(const RunTally& tally, std::size_t frames, std::size_t commands)
{
    char text[512];
    std::snprintf(text, sizeof text,
                  "seconds %.3f\ndistance_mm %.1f\ncontacts %d\nmin_clearance_mm %.1f\nframes %zu\ncommands %zu\n",
                  tally.seconds, tally.distanceMm, tally.contacts, tally.minClearanceMm, frames, commands);
    return text;
}

}  // namespace emulator
