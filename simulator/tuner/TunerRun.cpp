#include "tuner/TunerRun.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "common/AtomicFile.h"
#include "interop/TableLoading.h"
#include "runner/OutputPaths.h"
#include "tuner/ProgressLine.h"
#include "tuner/StopRequest.h"
#include "tuner/TableTuning.h"
#include "tuner/TunerOptions.h"
#include "world/InferenceFile.h"

namespace {

const std::string kProgram = "marlune-tune";

// The tuner's figures on the progress line: the generation done and the best score so far.
std::string GenerationFigures(const SearchProgress& progress)
{
    char line[512];  // room for any double in %.4f, whatever the collision weight
    std::snprintf(line, sizeof line, "generation %d/%d  best score %.4f", progress.generation, progress.generations,
                  progress.bestScore);
    return line;
}

double PhysicalMemoryBytes()
{
    return static_cast<double>(sysconf(_SC_PHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGE_SIZE));
}

std::vector<NamedFile> TunerOutputs(const TunerOptions& options)
{
    return {{"--out", options.outPath}, {"--report", options.reportPath}};
}

TableFigures Figures(const ParallelEvaluator& evaluator, const InferenceTable& table, const ArenaSeeds& seeds)
{
    const std::vector<InferenceTable> one{table};
    return {(*evaluator.Evaluate(one, seeds.tuning))[0], (*evaluator.Evaluate(one, seeds.validation))[0]};
}

}  // namespace

int RunTuner(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    TunerOptions options;
    InferenceTable reference;
    try {
        const int cores = static_cast<int>(std::thread::hardware_concurrency());
        options = ParseTunerOptions(arguments, cores > 0 ? cores : 1);
        if (AnswerInformationOptions(options, kProgram, TunerHelp(), out)) return 0;
        RefuseSearchesBeyondMemory(options.settings, PhysicalMemoryBytes());
        RefuseOutputsOverInputs({{"--start", options.startPath}, {"--compare", options.comparePath}},
                                TunerOutputs(options));
        if (!options.startPath.empty()) options.settings.start = LoadTableForRun(options.startPath, "--start");
        if (!options.comparePath.empty()) reference = LoadTableForRun(options.comparePath, "--compare");
    } catch (const UsageError& error) {
        return RefuseCommandLine(kProgram, error.what(), err);
    }
    try {
        CheckOutputFolders(TunerOutputs(options));
    } catch (const OutputError& error) {
        return ReportUnwrittenOutput(kProgram, error.what(), err);
    }
    const TuningSettings& settings = options.settings;

    const ArenaSeeds seeds = DeriveArenaSeeds(settings.seed, settings.arenas);
    const InterruptHandling interruptHandling;
    out << "marlune-tune: seed " << settings.seed << ", " << settings.threads << " threads, " << settings.population
        << " tables x " << static_cast<long long>(settings.generations) + 1 << " generations x " << settings.arenas
        << " arenas x " << settings.passes << " passes" << std::endl;

    // The line redraws itself with carriage returns: only a terminal shows it as meant.
    ProgressLine progressLine(err, ShowsProgressOn(err));
    TuningOutcome outcome =
        TuneTable(settings, seeds.tuning, interruptHandling.StopFlag(), [&](const SearchProgress& p) {
            progressLine.Show(GenerationFigures(p), p.generation + 1LL, p.generations + 1LL);
        });
    progressLine.Finish();

    if (!IsFiniteTable(outcome.best))
        return ReportUnwrittenOutput(
            kProgram, "the table found holds a number that is not finite; '" + options.outPath + "' is left as it was",
            err);
    // The table is written before the report is computed: whatever happens next, the
    // search's result is on disk.
    if (!SaveInferenceFile(options.outPath, outcome.best))
        return ReportUnwrittenOutput(kProgram, "cannot write '" + options.outPath + "'", err);
    // The file keeps fewer digits than the search used, and a trajectory can part ways
    // over a last-digit difference: the report describes the table as the file holds it.
    if (LoadInferenceFile(options.outPath, outcome.best) != 2 * InferenceTable::kSituations)
        return ReportUnwrittenOutput(kProgram, "'" + options.outPath + "' cannot be read back", err);
    out << "table written to " << options.outPath
        << (outcome.interrupted ? " (search stopped early; computing the report, Ctrl-C again to skip it)" : "")
        << std::endl;

    const ParallelEvaluator evaluator(settings.threads, settings.passes);
    std::optional<TableFigures> referenceFigures;
    if (!options.comparePath.empty()) referenceFigures = Figures(evaluator, reference, seeds);
    const std::string report = FormatTuningReport(settings, outcome, Figures(evaluator, outcome.best, seeds),
                                                  referenceFigures, options.comparePath);
    out << report;
    std::string error;
    if (!WriteFileAtomically(options.reportPath, report, error))
        return ReportUnwrittenOutput(kProgram, "cannot write '" + options.reportPath + "' (" + error + ")", err);
    out << "report written to " << options.reportPath << '\n';
    return 0;
}
