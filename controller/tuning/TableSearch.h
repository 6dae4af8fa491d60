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
    int population = 20;
    int generations = 30;
    int workers = 1;  // processes
    double contactWeight = kDefaultContactWeight;
    int vitesseMin = 0, vitesseMax = 255;
    int angleMin = -180, angleMax = 180;
    std::optional<TableSituations> start;  // joins the first population
};

// The fifteen values searched, in order: the eight vitesses, then the angles of the
// situations 1 to 7. Any angle but 0 stops the robot for a turn on the spot, so the
// angle of situation 0 (nothing seen) stays 0: with any other the robot would turn at
// every frame and never leave its place. A point's vitesses are rounded to whole
// duties, its angles to steps of kAngleStepDeg, so that 0 (straight on) can be found.
constexpr long kAngleStepDeg = 5;
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
