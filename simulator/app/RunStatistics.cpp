#include "RunStatistics.h"

#include "NumberText.h"
#include "RobotSimulation.h"

namespace {
// The statistics clock ticks every 20 ms: 50 ticks make a second and 500 ticks the 10 s
// over which collisions are counted. Kept as doubles so the means are divided as they
// always were, in double from the first product on.
constexpr double kTicksPerSecond = 50.0;
constexpr double kTicksPerTenSeconds = 500.0;
}  // namespace

RunStatistics FormatRunStatistics(const RobotSimulation& sim, int tickCount)
{
    RunStatistics statistics;
    statistics.meanCollisions = FormatStatistic(sim.collisions * kTicksPerTenSeconds / (tickCount + 1));
    if (sim.IsInsideImage(sim.centerX, sim.centerY))
        statistics.meanSpeed = FormatStatistic(sim.distance * kTicksPerSecond / (tickCount + 1));
    else
        statistics.meanSpeed = QStringLiteral("hors du monde");
    return statistics;
}
