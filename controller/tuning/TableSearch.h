#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DriveScore.h"
#include "DriveStarts.h"
#include "FichierTableSituations.h"
#include "Room.h"
#include "common/DifferentialEvolution.h"

// The search for Trundel's situation table: eight (vitesse, angle) pairs tuned by
// differential evolution, each candidate judged by simulated drives from the same
// starts in the same rooms.
struct TableSearchSettings {
    std::uint64_t seed = 1;
    int startsPerRoom = 4;  // tuning starts
    double seconds = 60;    // of each drive
    int population = 16;
    int generations = 20;
    int workers = 1;  // processes
    double contactWeight = kDefaultContactWeight;
    int vitesseMin = 0, vitesseMax = 255;
    int angleMin = -180, angleMax = 180;
    std::optional<TableSituations> start;  // joins the first population
};

// The sixteen values in order: eight vitesses, then eight angles. A point's values are
// rounded to whole duties and degrees, as the table file holds them.
std::vector<double> TableToPoint(const TableSituations& table);
TableSituations PointToTable(const std::vector<double>& point);
SearchBox TableBox(const TableSearchSettings& settings);

// The table's drives from every start, one after the other in this process.
DriveTotals DriveFromStarts(const TableSituations& table, const std::vector<emulator::Room>& rooms,
                            const std::vector<DriveStart>& starts, double seconds);

struct TableSearchOutcome {
    TableSituations best{};
    std::optional<double> bestScore;  // empty when stopped before the first population was judged
    int generationsDone = -1;
    bool interrupted = false;
    std::string error;  // a worker failed: the search stopped there
};

TableSearchOutcome SearchTable(const TableSearchSettings& settings, const std::vector<emulator::Room>& rooms,
                               const std::vector<DriveStart>& starts, const std::atomic<bool>* stop = nullptr,
                               const ProgressCallback& progress = {});
