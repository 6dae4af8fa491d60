#include "tuner/ScoreRun.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <opencv2/imgcodecs.hpp>
#include <ostream>
#include <thread>

#include "common/AtomicFile.h"
#include "common/ProgressLine.h"
#include "common/StopRequest.h"
#include "interop/TableFiles.h"
#include "runner/OutputPaths.h"
#include "runner/PictureOutput.h"
#include "tuner/ScoreChart.h"
#include "tuner/ScoreOptions.h"
#include "tuner/ScoreReport.h"
#include "tuner/TableScore.h"

namespace {

const std::string kProgram = "marlune-score";

std::vector<NamedFile> ScoreOutputs(const ScoreOptions& options)
{
    return {{"--csv", options.csvPath}, {"--chart", options.chartPath}};
}

std::vector<NamedFile> ScoreInputs(const ScoreOptions& options)
{
    std::vector<NamedFile> inputs;
    for (const std::string& path : options.tablePaths) inputs.push_back({"TABLE", path});
    return inputs;
}

// Redraws the progress line from a thread of its own while the pool runs: the pool's
// threads only count the runs done.
class ProgressTicker {
public:
    ProgressTicker(ProgressLine& line, const std::atomic<std::size_t>& runsDone, std::size_t runs, bool enabled)
    {
        if (!enabled) return;
        m_thread = std::thread([this, &line, &runsDone, runs] {
            std::unique_lock lock(m_mutex);
            // Once more after the end, so that the line is left with the count reached.
            for (bool finished = false; !finished;) {
                finished = m_wake.wait_for(lock, std::chrono::milliseconds(250), [this] { return m_finished; });
                const std::size_t done = runsDone.load();
                line.Show("runs " + std::to_string(done) + "/" + std::to_string(runs), static_cast<long long>(done),
                          static_cast<long long>(runs));
            }
        });
    }
    ~ProgressTicker()
    {
        if (!m_thread.joinable()) return;
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    ProgressTicker(const ProgressTicker&) = delete;
    ProgressTicker& operator=(const ProgressTicker&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_finished = false;
    std::thread m_thread;
};

std::string Extension(const std::string& path)
{
    const auto dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

// Encoded in memory, then written whole through an atomic replace: the chart is drawn the
// right way up already, unlike the world's frames.
bool WriteChart(const std::string& path, const std::vector<TableScore>& rows, std::string& error)
{
    std::vector<unsigned char> encoded;
    try {
        if (!cv::imencode(Extension(path), DrawScoreChart(rows), encoded)) {
            error = "the picture cannot be encoded";
            return false;
        }
    } catch (const cv::Exception& exception) {
        error = exception.what();
        return false;
    }
    return WriteFileAtomically(path, std::string(encoded.begin(), encoded.end()), error);
}

}  // namespace

int RunScore(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    ScoreOptions options;
    try {
        options = ParseScoreOptions(arguments);
        if (AnswerInformationOptions(options, kProgram, ScoreHelp(), out)) return 0;
        if (!options.chartPath.empty()) PicturePath("--chart", options.chartPath);
        RefuseOutputsOverInputs(ScoreInputs(options), ScoreOutputs(options));
    } catch (const UsageError& error) {
        return RefuseCommandLine(kProgram, error.what(), err);
    }
    try {
        CheckOutputFolders(ScoreOutputs(options));
    } catch (const OutputError& error) {
        return ReportUnwrittenOutput(kProgram, error.what(), err);
    }

    std::vector<TableScore> rows;
    std::vector<std::pair<std::string, InferenceTable>> readable;
    for (const std::string& path : options.tablePaths) {
        InferenceTable table;
        TableRefusal refusal;
        if (LoadTableFile(path, table, refusal))
            readable.emplace_back(path, table);
        else
            rows.push_back(UnreadableTable(path, refusal.english));
    }
    const std::vector<std::uint64_t> seeds = ScoreSeeds(options);
    const unsigned cores = std::thread::hardware_concurrency();
    const ParallelEvaluator evaluator(cores > 0 ? static_cast<int>(cores) : 1, options.passes);
    // Table by table, all its arenas at once: a Ctrl-C leaves only whole tables behind.
    std::size_t scored = 0;
    {
        // In place before the run is announced: a Ctrl-C that follows the announcement stops it.
        const InterruptHandling interruptHandling;
        out << kProgram << ": " << readable.size() << " tables x " << seeds.size() << " arenas (seeds "
            << options.firstSeed << "-" << options.lastSeed << ") x " << options.passes << " passes, "
            << evaluator.Threads() << " threads" << std::endl;
        ProgressLine progressLine(err, ShowsProgressOn(err));
        std::atomic<std::size_t> runsDone{0};
        {
            const ProgressTicker ticker(progressLine, runsDone, readable.size() * seeds.size(), ShowsProgressOn(err));
            for (const auto& [path, table] : readable) {
                std::optional<TableScore> row =
                    ScoreTable(evaluator, path, table, seeds, interruptHandling.StopFlag(), &runsDone);
                if (!row) break;
                rows.push_back(std::move(*row));
                ++scored;
            }
        }
        progressLine.Finish();
    }
    const bool stopped = scored < readable.size();

    bool allMet = true;
    for (TableScore& row : rows) {
        if (row.Scored()) row.missed = MissedClauses(options.requirement, row.Figures());
        allMet = allMet && row.Scored() && row.missed.empty();
    }
    RankBestFirst(rows);
    if (seeds.size() == 1) out << "(one arena: no interval)\n";
    out << FormatScoreRows(rows, options.hasRequirement);
    if (stopped)
        out << "stopped by the user: " << scored << " of " << readable.size()
            << " tables scored, the others have no row\n";
    out << std::flush;

    int code = allMet && !stopped ? 0 : 1;
    std::string error;
    if (!options.csvPath.empty()) {
        if (WriteFileAtomically(options.csvPath, ScoreCsv(rows, options.hasRequirement), error))
            out << "rows written to " << options.csvPath << '\n';
        else
            code = ReportUnwrittenOutput(kProgram, "cannot write '" + options.csvPath + "' (" + error + ")", err);
    }
    if (!options.chartPath.empty()) {
        if (WriteChart(options.chartPath, rows, error))
            out << "chart written to " << options.chartPath << '\n';
        else
            code = ReportUnwrittenOutput(kProgram, "cannot write '" + options.chartPath + "' (" + error + ")", err);
    }
    return code;
}
