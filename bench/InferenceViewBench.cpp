#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "InferencePlot.h"
#include "SimulationRun.h"

// The inference window's cost to a run: one repaint of its picture, which it does at
// most about 30 times a second whatever the pace. A reading from a real pass, so every
// bar and ramp is drawn.
static void RepaintInferencePlot(benchmark::State& state)
{
    RobotSimulation sim(kWorldSize, kWorldSize);
    sim.rng.Seed(42);
    const InferenceTable table = {{60, -55, 0, -5, 55, 60, 5, 0}, {0.2, 0.5, 1.5, 2, 0.5, 0.5, 2, 2.5}};
    PrepareRun(sim, table);
    for (int pass = 0; pass < 200; ++pass) RunPass(sim);

    InferencePlot plot;
    plot.resize(plot.sizeHint());
    plot.SetReading(ReadInference(sim, table));
    QImage target(plot.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        plot.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(RepaintInferencePlot)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
