#include "tuner/TableTuning.h"

#include <cstdio>
#include <deque>
#include <filesystem>

std::vector<double> TableToPoint(const InferenceTable& table)
{
    std::vector<double> point(table.angles, table.angles + InferenceTable::kSituations);
    point.insert(point.end(), table.speeds, table.speeds + InferenceTable::kSituations);
    return point;
}

InferenceTable PointToTable(const std::vector<double>& point)
{
    InferenceTable table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        table.angles[k] = point[k];
        table.speeds[k] = point[InferenceTable::kSituations + k];
    }
    return table;
}

SearchBox TableSearchBox(const TuningSettings& settings)
{
    SearchBox box;
    box.lower.assign(InferenceTable::kSituations, settings.angleMin);
    box.upper.assign(InferenceTable::kSituations, settings.angleMax);
    box.lower.insert(box.lower.end(), InferenceTable::kSituations, settings.speedMin);
    box.upper.insert(box.upper.end(), InferenceTable::kSituations, settings.speedMax);
    return box;
}

TuningOutcome TuneTable(const TuningSettings& settings, const std::vector<std::uint64_t>& tuningSeeds,
                        const std::atomic<bool>* stop, const ProgressCallback& progress)
{
    const ParallelEvaluator evaluator(settings.threads, settings.passes);
    const ScoreFormula formula{settings.collisionWeight};
    std::deque<MetTable> met;
    auto objective = [&](const std::vector<std::vector<double>>& candidates, std::vector<double>& scores) {
        std::vector<InferenceTable> tables;
        tables.reserve(candidates.size());
        for (const auto& candidate : candidates) tables.push_back(PointToTable(candidate));
        const auto totals = evaluator.Evaluate(tables, tuningSeeds, stop);
        if (!totals) return false;
        for (std::size_t i = 0; i < totals->size(); ++i) {
            scores[i] = formula.Score((*totals)[i]);
            met.push_back({tables[i], (*totals)[i], std::nullopt, 0});
            if (met.size() > kMetTablesKept) met.pop_front();
        }
        return true;
    };

    DifferentialEvolutionSettings search;
    search.populationSize = settings.population;
    search.generations = settings.generations;
    // The search's own draws follow --seed too, apart from the arena seeds' stream.
    search.seed = settings.seed ^ 0x5345'4152'4348'0000u;
    std::vector<double> start;
    if (settings.start) start = TableToPoint(*settings.start);
    const SearchResult result = MaximiseByDifferentialEvolution(TableSearchBox(settings), search, objective,
                                                                settings.start ? &start : nullptr, progress);
    return {PointToTable(result.best), result.bestScore, result.generationsDone, result.interrupted,
            std::vector<MetTable>(met.begin(), met.end())};
}

namespace {

std::string FiguresLine(const char* label, const RunTotals& totals, const ScoreFormula& formula)
{
    char line[200];
    std::snprintf(line, sizeof line, "  %-28s %8.4f %16.3f %11.4f %9.3f %11lld %8lld\n", label, formula.Score(totals),
                  totals.CollisionsPer1000Passes(), totals.MeanSpeed(), totals.InteriorShare(), totals.collisions,
                  totals.escapes);
    return line;
}

}  // namespace

std::string FormatTuningReport(const TuningSettings& settings, const TuningOutcome& outcome,
                               const InferenceTable& table, const std::string& choice, const TableFigures& figures,
                               const std::optional<TableFigures>& reference, const std::string& referenceName)
{
    const ScoreFormula formula{settings.collisionWeight};
    char text[512];
    std::string report;
    std::snprintf(text, sizeof text,
                  "settings: --seed %llu --arenas %d --passes %d --population %d --generations %d "
                  "--collision-weight %g --angles %g:%g --speeds %g:%g\n",
                  static_cast<unsigned long long>(settings.seed), settings.arenas, settings.passes, settings.population,
                  settings.generations, settings.collisionWeight, settings.angleMin, settings.angleMax,
                  settings.speedMin, settings.speedMax);
    report += text;
    if (outcome.interrupted)
        std::snprintf(text, sizeof text, "search: stopped by the user after %d of %d generations\n",
                      outcome.generationsDone < 0 ? 0 : outcome.generationsDone, settings.generations);
    else
        std::snprintf(text, sizeof text, "search: %d generations of %d tables\n", settings.generations,
                      settings.population);
    report += text;
    std::snprintf(text, sizeof text,
                  "score = mean speed x interior x exp(-%g x collisions per 1000 passes) (%d arenas x %d passes "
                  "each)\n",
                  settings.collisionWeight, settings.arenas, settings.passes);
    report += text;
    report += "table: " + choice + "\n";
    std::snprintf(text, sizeof text, "  %-28s %8s %16s %11s %9s %11s %8s\n", "", "score", "collisions/1000",
                  "mean speed", "interior", "collisions", "escapes");
    report += text;
    report += FiguresLine("tuned, tuning arenas", figures.tuning, formula);
    report += FiguresLine("tuned, validation arenas", figures.validation, formula);
    std::snprintf(text, sizeof text, "  gap (validation - tuning score): %+.4f\n",
                  formula.Score(figures.validation) - formula.Score(figures.tuning));
    report += text;
    if (reference) {
        const std::string name = std::filesystem::path(referenceName).filename().string();
        report += FiguresLine((name + ", tuning").c_str(), reference->tuning, formula);
        report += FiguresLine((name + ", validation").c_str(), reference->validation, formula);
    }
    report += "table (angle speed, S1..S8):\n";
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        std::snprintf(text, sizeof text, "  S%d %9.3f %7.4f\n", k + 1, table.angles[k], table.speeds[k]);
        report += text;
    }
    return report;
}
