#include "runner/HeadlessRun.h"

#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "common/CommandLineValues.h"
#include "common/FrameRecorder.h"
#include "interop/TableLoading.h"
#include "runner/PictureOutput.h"
#include "runner/RunSummary.h"
#include "runner/RunnerOptions.h"
#include "runner/TraceWriter.h"
#include "runner/TrajectoryPlot.h"
#include "runner/WorldReach.h"
#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

namespace {

const std::string kProgram = "marlune-run";

// The picture a frame option writes of the run as it stands: the upright arena, with the
// panel's picture beside it when there is a panel.
cv::Mat ShownFrame(const RobotSimulation& sim, int zoom, PassPanel* panel)
{
    const cv::Mat frame = UprightFrame(sim, zoom);
    return panel ? SideBySide(frame, panel->Picture()) : frame;
}

RunSummary Run(const RunnerOptions& options, const InferenceTable& table, const PassPanelMaker& makePanel)
{
    RobotSimulation sim(kWorldSize, kWorldSize);
    if (options.seed) sim.rng.Seed(*options.seed);
    // Without --seed the tick counter chose the state; printing it makes the run repeatable.
    const std::uint64_t seed = options.seed.value_or(sim.rng.state);

    std::optional<TraceWriter> trace;
    if (!options.tracePath.empty()) trace.emplace(options.tracePath);
    std::optional<TrajectoryPlot> plot;
    if (!options.plotPath.empty()) plot.emplace();

    PrepareRun(sim, table);
    if (plot) plot->Record(sim.centerX, sim.centerY, sim.collisions);
    if (!options.arenaPath.empty()) WritePicture("--arena", options.arenaPath, sim.arena);
    if (!options.freeMapPath.empty()) WritePicture("--freemap", options.freeMapPath, sim.freeMap);
    std::unique_ptr<PassPanel> panel;
    if (options.inference) panel = makePanel(table);
    std::unique_ptr<FrameRecorder> video;
    if (!options.videoPath.empty()) {
        const cv::Size frameSize = sim.canvas.size() * options.zoom;
        video = OpenFrameRecorder(options.videoPath, options.framesPerSecond,
                                  panel ? SideBySideSize(frameSize, panel->PictureSize()) : frameSize);
    }

    // Only the frame and the video show the canvas: without them, the robot and the
    // beams would be painted for nobody.
    const bool canvasShown = !options.framePath.empty() || video;
    RunSummary summary{seed, options.passes};
    for (long long pass = 1; pass <= options.passes; ++pass) {
        RunPass(sim, {.robot = canvasShown, .beams = canvasShown && options.beams});
        if (trace) trace->Row(pass, sim);
        if (plot) plot->Record(sim.centerX, sim.centerY, sim.collisions);
        if (panel) panel->Follow(sim);
        if (video) video->Add(ShownFrame(sim, options.zoom, panel.get()));
        if (!NextPassStaysInTheWorld(sim)) {
            summary.passes = pass;
            summary.leftTheWorld = pass < options.passes;
            break;
        }
    }
    if (trace) trace->Finish();
    if (video) video->Finish();
    if (!options.framePath.empty())
        WriteImage("--frame", options.framePath, ShownFrame(sim, options.zoom, panel.get()));
    if (plot) WritePicture("--plot", options.plotPath, plot->Render(sim.arena));

    summary.collisions = sim.collisions;
    summary.distance = sim.distance;
    return summary;
}

}  // namespace

int RunMarlune(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               const PassPanelMaker& makePanel)
{
    RunnerOptions options;
    InferenceTable table;
    try {
        options = ParseRunnerOptions(arguments);
        if (AnswerInformationOptions(options, kProgram, RunnerHelp(), out)) return 0;
        if (options.inference && !makePanel) throw UsageError("--inference: this program draws no reasoning");
        RefuseOutputsOverInputs({{"--table", options.tablePath}}, RunnerOutputs(options));
        if (!options.tablePath.empty()) table = LoadTableForRun(options.tablePath);
    } catch (const UsageError& error) {
        return RefuseCommandLine(kProgram, error.what(), err);
    }

    try {
        CheckOutputFolders(RunnerOutputs(options));
        PrintSummary(out, Run(options, table, makePanel));
    } catch (const std::exception& error) {
        return ReportUnwrittenOutput(kProgram, error.what(), err);
    }
    return 0;
}
