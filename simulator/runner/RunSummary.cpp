#include "runner/RunSummary.h"

#include <ostream>

#include "common/NumberText.h"

void PrintSummary(std::ostream& out, const RunSummary& summary)
{
    out << "seed: " << summary.seed << '\n'
        << "passes: " << summary.passes << '\n'
        << "collisions: " << summary.collisions << '\n'
        << "distance: " << FixedDecimals(summary.distance, 3) << " pixels\n"
        << "collisions per 1000 passes: " << FixedDecimals(summary.CollisionsPer1000Passes(), 3) << '\n'
        << "mean speed: " << FixedDecimals(summary.MeanSpeed(), 3) << " pixels per pass\n";
    if (summary.leftTheWorld)
        out << "left the world: after pass " << summary.passes
            << ", its position, heading or command went beyond any meaningful range; the run ended there\n";
}
