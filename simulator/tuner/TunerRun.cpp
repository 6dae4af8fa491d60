#include "tuner/TunerRun.h"

#include <unistd.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "common/AtomicFile.h"
#include "common/ProgressLine.h"
#include "common/StopRequest.h"
#include "interop/TableLoading.h"
#include "runner/OutputPaths.h"
#include "runner/PictureOutput.h"
#include "tuner/FrontChart.h"
#include "tuner/FrontFile.h"
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
    std::vector<NamedFile> outputs{{"--out", options.outPath}, {"--report", options.reportPath}};
    if (!options.frontPath.empty()) {
        outputs.push_back({"--front", options.frontPath});
        outputs.push_back({"--front (its CSV)", FrontCsvPath(options.frontPath)});
    }
    return outputs;
}

TableFigures Figures(const ParallelEvaluator& evaluator, const InferenceTable& table, const ArenaSeeds& seeds)
{
    const std::vector<InferenceTable> one{table};
    return {(*evaluator.Evaluate(one, seeds.tuning))[0], (*evaluator.Evaluate(one, seeds.validation))[0]};
}

// Writes the table and reads it back: the file keeps fewer digits than the search used,
// and a trajectory can part ways over a last-digit difference, so what follows describes
// the table as the file holds it. Empty when it could not be written or read back.
std::optional<InferenceTable> WriteTable(const std::string& path, const InferenceTable& table)
{
    InferenceTable written;
    if (!SaveInferenceFile(path, table) || LoadInferenceFile(path, written) != 2 * InferenceTable::kSituations)
        return std::nullopt;
    return written;
}

// The finalists' validation figures, the front and the chosen table; false when no
// table was met (the search stopped during its first generation).
bool ChooseOnValidation(TuningFront& front, const ParallelEvaluator& evaluator, const ArenaSeeds& seeds,
                        const ScoreFormula& formula)
{
    if (front.met.empty()) return false;
    const std::vector<std::size_t> best = Finalists(front.met, formula, 1);
    MarkFront(front.met, front.met[best.front()].tuning);
    const std::vector<std::size_t> finalists = Finalists(front.met, formula, kFinalists);
    std::vector<InferenceTable> tables;
    for (std::size_t i : finalists) tables.push_back(front.met[i].table);
    const std::vector<RunTotals> validation = *evaluator.Evaluate(tables, seeds.validation);
    for (std::size_t k = 0; k < finalists.size(); ++k) front.met[finalists[k]].validation = validation[k];
    front.chosen = BestOnValidation(front.met, formula);
    return true;
}

std::string DescribePick(const TuningFront& front, std::size_t picked, std::size_t finalists)
{
    const int rank = front.met[picked].frontRank;
    std::string choice = picked == front.chosen ? "the best of " + std::to_string(finalists) +
                                                      " finalists on the validation arenas (--pick balanced)"
                                                : "picked from the front";
    if (rank > 0) choice += ", rank " + std::to_string(rank) + " on the front from slowest to fastest";
    return choice;
}

void WriteFront(const TunerOptions& options, const TuningFront& front, const ScoreFormula& formula, std::size_t written)
{
    WriteImage("--front", options.frontPath, DrawFrontChart(front, written));
    std::string error;
    const std::string csvPath = FrontCsvPath(options.frontPath);
    if (!WriteFileAtomically(csvPath, FrontCsv(front, formula), error))
        throw std::runtime_error("cannot write '" + csvPath + "' (" + error + ")");
}

// --from: a table from a front written before, without a search.
int PickFromFile(const TunerOptions& options, std::ostream& out, std::ostream& err)
{
    FrontRows rows;
    std::size_t picked = 0;
    try {
        rows = ReadFrontCsv("--from", options.fromPath);
        picked = PickFromFront(rows.frontRanks, rows.chosen, options.pick);
    } catch (const UsageError& error) {
        return RefuseCommandLine(kProgram, error.what(), err);
    }
    if (!WriteTable(options.outPath, rows.tables[picked]))
        return ReportUnwrittenOutput(kProgram, "cannot write '" + options.outPath + "'", err);
    out << "table " << picked + 1 << " of " << options.fromPath;
    if (rows.frontRanks[picked] > 0) out << ", rank " << rows.frontRanks[picked] << " on the front";
    out << " (tuning arenas: " << rows.figures[picked] << ") written to " << options.outPath << '\n';
    return 0;
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
        if (!options.fromPath.empty()) {
            RefuseOutputsOverInputs({{"--from", options.fromPath}}, {{"--out", options.outPath}});
            return PickFromFile(options, out, err);
        }
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
    // The best table on the tuning arenas is written at once: whatever happens next, a
    // result of the search is on disk. The validation may then replace it.
    std::optional<InferenceTable> written = WriteTable(options.outPath, outcome.best);
    if (!written) return ReportUnwrittenOutput(kProgram, "cannot write '" + options.outPath + "'", err);
    out << "table written to " << options.outPath
        << (outcome.interrupted ? " (search stopped early; choosing on the validation arenas, Ctrl-C again to skip it)"
                                : "")
        << std::endl;

    const ParallelEvaluator evaluator(settings.threads, settings.passes);
    const ScoreFormula formula{settings.collisionWeight};
    TuningFront front{std::move(outcome.met), 0};
    std::string choice = "the best on the tuning arenas (the search stopped before any generation was whole)";
    if (ChooseOnValidation(front, evaluator, seeds, formula)) {
        std::optional<std::size_t> picked;
        std::string refusal;
        try {
            picked = PickFromFront(FrontRanks(front.met), front.chosen, options.pick);
        } catch (const UsageError& error) {
            refusal = error.what();
        }
        // Drawn before a refused pick ends the program: the front is still there to pick
        // from with --from.
        if (!options.frontPath.empty()) {
            try {
                WriteFront(options, front, formula, picked.value_or(front.chosen));
            } catch (const std::exception& error) {
                return ReportUnwrittenOutput(kProgram, error.what(), err);
            }
            out << "front written to " << options.frontPath << " and " << FrontCsvPath(options.frontPath) << '\n';
        }
        if (!picked) return RefuseCommandLine(kProgram, refusal, err);
        choice = DescribePick(front, *picked, Finalists(front.met, formula, kFinalists).size());
        written = WriteTable(options.outPath, front.met[*picked].table);
        if (!written) return ReportUnwrittenOutput(kProgram, "cannot write '" + options.outPath + "'", err);
        out << "table " << choice << ", written to " << options.outPath << std::endl;
    }

    std::optional<TableFigures> referenceFigures;
    if (!options.comparePath.empty()) referenceFigures = Figures(evaluator, reference, seeds);
    const std::string report =
        FormatTuningReport(settings, outcome, *written, choice, Figures(evaluator, *written, seeds), referenceFigures,
                           options.comparePath);
    out << report;
    std::string error;
    if (!WriteFileAtomically(options.reportPath, report, error))
        return ReportUnwrittenOutput(kProgram, "cannot write '" + options.reportPath + "' (" + error + ")", err);
    out << "report written to " << options.reportPath << '\n';
    return 0;
}
