#include "RunStatistics.h"

#include "NumberText.h"
#include "RobotSimulation.h"

RunStatistics FormatRunStatistics(const RobotSimulation& sim, int tickCount)
{
    RunStatistics statistics;
    statistics.meanCollisions = FormatStatistic(sim.collisions * 500.0 / (tickCount + 1));
    if (sim.IsInsideImage(sim.centerX, sim.centerY))
        statistics.meanSpeed = FormatStatistic(sim.distance * 50.0 / (tickCount + 1));
    else
        statistics.meanSpeed = QStringLiteral("hors du monde");
    return statistics;
}
