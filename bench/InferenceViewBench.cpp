#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <opencv2/highgui.hpp>

#include "app/InferencePlot.h"
#include "app/InferenceStrip.h"
#include "app/InferenceView.h"
#include "app/MarluneDlg.h"
#include "world/SimulationRun.h"

namespace {

const InferenceTable kExampleTable = {{60, -55, 0, -5, 55, 60, 5, 0}, {0.2, 0.5, 1.5, 2, 0.5, 0.5, 2, 2.5}};

// Renders a widget again and again, as its window repaints it.
void RenderRepeatedly(benchmark::State& state, QWidget& widget)
{
    QImage target(widget.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        widget.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

}  // namespace

// The inference window's cost to a run: one repaint of its picture, which it does at
// most 20 times a second whatever the pace. A reading from a real pass, so every
// bar and ramp is drawn.
static void RepaintInferencePlot(benchmark::State& state)
{
    RobotSimulation sim(kWorldSize, kWorldSize);
    sim.rng.Seed(42);
    PrepareRun(sim, kExampleTable);
    for (int pass = 0; pass < 200; ++pass) RunPass(sim);

    InferencePlot plot;
    plot.resize(plot.sizeHint());
    plot.SetReading(ReadInference(sim, kExampleTable));
    RenderRepeatedly(state, plot);
}
BENCHMARK(RepaintInferencePlot)->Unit(benchmark::kMicrosecond);

// One repaint of the strip "Derniers pas" full of real passes, which the window does
// with each repaint of its picture.
static void RepaintInferenceStrip(benchmark::State& state)
{
    RobotSimulation sim(kWorldSize, kWorldSize);
    sim.rng.Seed(42);
    PrepareRun(sim, kExampleTable);
    InferenceHistory history;
    for (std::size_t pass = 0; pass < InferenceHistory::kCapacity; ++pass) {
        RunPass(sim);
        history.Add(ReadInference(sim, kExampleTable), pass % 50 == 0);
    }
    InferenceStrip strip(history, [](int) {});
    strip.resize(560, strip.sizeHint().height());
    strip.SetSelected(120);
    RenderRepeatedly(state, strip);
}
BENCHMARK(RepaintInferenceStrip)->Unit(benchmark::kMicrosecond);

// A whole unpaced desktop run of 1000 passes, its windows on Qt's offscreen platform,
// with the window "Inférence floue" and its strip open (1) or closed (0): the ratio of
// the two rates is what the window costs a run.
static void UnpacedDesktopRun(benchmark::State& state)
{
    const bool viewOpen = state.range(0) != 0;
    constexpr int kPasses = 1000;
    CMarluneDlg dialog;
    dialog.ShowTable(kExampleTable);
    dialog.m_sim.rng.Seed(42);
    for (auto _ : state) {
        int poll = 0;
        dialog.SetKeyPoll([&](int delayMs) {
            cv::waitKey(delayMs);
            ++poll;
            if (poll == 1) return int('g');
            if (poll == 2 && !viewOpen) dialog.Inference().close();
            // Unpaced, every poll after the start's follows one pass.
            return poll > kPasses + 1 ? 27 : -1;
        });
        dialog.OnRunSimulation();
    }
    state.counters["passes/s"] = benchmark::Counter(
        static_cast<double>(kPasses) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(UnpacedDesktopRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
