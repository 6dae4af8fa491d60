#include "TableSearch.h"

#include <algorithm>
#include <cmath>

#include "SimulatedDrive.h"
#include "WorkerProcesses.h"

std::vector<double> TableToPoint(const TableSituations& table)
{
    std::vector<double> point;
    for (int k = 0; k < 8; ++k) point.push_back(table.vitesse[k]);
    for (int k = 1; k < 8; ++k) point.push_back(table.angle[k]);
    return point;
}

TableSituations PointToTable(const std::vector<double>& point)
{
    TableSituations table{};
    for (int k = 0; k < 8; ++k)
        table.vitesse[k] = static_cast<int>(std::clamp<long>(std::lround(point[k]), -vitesseMax, vitesseMax));
    table.angle[0] = 0;
    for (int k = 1; k < 8; ++k) {
        const long angle = std::lround(point[7 + k] / kAngleStepDeg) * kAngleStepDeg;
        table.angle[k] = static_cast<int>(std::clamp<long>(angle, -angleMax, angleMax));
    }
    return table;
}

SearchBox TableBox(const TableSearchSettings& settings)
{
    SearchBox box;
    box.lower.assign(8, settings.vitesseMin);
    box.upper.assign(8, settings.vitesseMax);
    box.lower.insert(box.lower.end(), 7, settings.angleMin);
    box.upper.insert(box.upper.end(), 7, settings.angleMax);
    return box;
}

DriveTotals DriveFromStarts(const TableSituations& table, const std::vector<emulator::Room>& rooms,
                            const std::vector<DriveStart>& starts, double seconds)
{
    DriveTotals totals;
    for (const DriveStart& start : starts)
        AddDrive(totals, SimulateDrive(table, rooms[static_cast<std::size_t>(start.room)], start.pose, seconds));
    return totals;
}

TableSearchOutcome SearchTable(const TableSearchSettings& settings, const std::vector<emulator::Room>& rooms,
                               const std::vector<DriveStart>& starts, const std::atomic<bool>* stop,
                               const ProgressCallback& progress)
{
    TableSearchOutcome outcome;
    const BatchObjective objective = [&](const std::vector<std::vector<double>>& candidates,
                                         std::vector<double>& scores) {
        if (stop && stop->load()) return false;
        std::vector<DriveTotals> totals;
        const std::function<DriveTotals(std::size_t)> judge = [&](std::size_t i) {
            return DriveFromStarts(PointToTable(candidates[i]), rooms, starts, settings.seconds);
        };
        if (!RunInWorkerProcesses(candidates.size(), settings.workers, judge, totals, stop, outcome.error))
            return false;
        scores.resize(candidates.size());
        for (std::size_t i = 0; i < candidates.size(); ++i) scores[i] = DriveScore(totals[i], settings.contactWeight);
        return true;
    };
    DifferentialEvolutionSettings de;
    de.populationSize = settings.population;
    de.generations = settings.generations;
    de.seed = settings.seed;
    std::vector<double> startPoint;
    if (settings.start) startPoint = TableToPoint(*settings.start);
    const SearchResult result = MaximiseByDifferentialEvolution(TableBox(settings), de, objective,
                                                                settings.start ? &startPoint : nullptr, progress);
    outcome.best = PointToTable(result.best);
    outcome.bestScore = result.bestScore;
    outcome.generationsDone = result.generationsDone;
    outcome.interrupted = result.interrupted;
    return outcome;
}
