#include "app/RunStatistics.h"

#include "common/NumberText.h"
#include "world/RobotSimulation.h"

namespace {
// The statistics clock ticks every 20 ms: 50 ticks make a second and 500 ticks the 10 s
// over which collisions are counted. Kept as doubles so the means are divided as they
// always were, in double from the first product on.
constexpr double kTicksPerSecond = 50.0;
constexpr double kTicksPerTenSeconds = 500.0;

QString ThreeDecimals(double value)
{
    return QString::fromStdString(FixedDecimals(value, 3));
}
}  // namespace

RunStatistics FormatRunStatistics(const RobotSimulation& sim, int tickCount)
{
    RunStatistics statistics;
    statistics.meanCollisions = ThreeDecimals(sim.collisions * kTicksPerTenSeconds / (tickCount + 1));
    if (sim.IsInsideImage(sim.centerX, sim.centerY))
        statistics.meanSpeed = ThreeDecimals(sim.distance * kTicksPerSecond / (tickCount + 1));
    else
        statistics.meanSpeed = QStringLiteral("hors du monde");
    return statistics;
}
