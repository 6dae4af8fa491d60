#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/DifferentialEvolution.h"
#include "tuner/ArenaSeeds.h"
#include "tuner/TableEvaluation.h"
#include "tuner/TuningFront.h"
#include "world/InferenceTable.h"

struct TuningSettings {
    std::uint64_t seed = 1;
    int arenas = 20;    // K: tuning arenas, and as many validation arenas
    int passes = 1500;  // P: passes per arena
    int population = 16;
    int generations = 20;
    int threads = 1;
    double collisionWeight = ScoreFormula{}.collisionWeight;
    double angleMin = -90, angleMax = 90;  // degrees
    double speedMin = 0, speedMax = 3;     // pixels per pass
    std::optional<InferenceTable> start;   // joins the first population
};

struct TuningOutcome {
    InferenceTable best;
    std::optional<double> bestScore;  // on the tuning arenas; empty if stopped before any was known
    int generationsDone = -1;
    bool interrupted = false;
    // The tables of every whole generation with their tuning figures, in the order met:
    // the most recent kMetTablesKept of them, a bound a search of any length keeps to.
    std::vector<MetTable> met;
};
inline constexpr std::size_t kMetTablesKept = 100'000;

// The sixteen values in table order: eight angles, then eight speeds.
std::vector<double> TableToPoint(const InferenceTable& table);
InferenceTable PointToTable(const std::vector<double>& point);
SearchBox TableSearchBox(const TuningSettings& settings);

// Searches the table that scores best on the tuning arenas. Raising stop ends the
// search at once; the outcome then holds the best table of the last whole generation.
TuningOutcome TuneTable(const TuningSettings& settings, const std::vector<std::uint64_t>& tuningSeeds,
                        const std::atomic<bool>* stop = nullptr, const ProgressCallback& progress = {});

// A table's figures on both arena sets, for the report.
struct TableFigures {
    RunTotals tuning;
    RunTotals validation;
};

// `table` is the table written; `choice` says how it was chosen.
std::string FormatTuningReport(const TuningSettings& settings, const TuningOutcome& outcome,
                               const InferenceTable& table, const std::string& choice, const TableFigures& figures,
                               const std::optional<TableFigures>& reference, const std::string& referenceName);
