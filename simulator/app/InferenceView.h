#pragma once
#include <cstdint>

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "app/CommandSurfaceWindow.h"
#include "app/InferencePlot.h"
#include "app/InferenceStrip.h"
#include "reasoning/InferenceHistory.h"
#include "reasoning/InferenceReading.h"

// The window "Inférence floue": how the controller decided on the latest pass of a run
// (or on one of the last passes, chosen in the strip "Derniers pas"), and the generator
// state the run started from, so that it can be replayed headless.
//
// A run hands over every pass, but the window repaints on its own clock, 20 times a
// second at most: a pass costs far less than a repaint, and the run must not wait for
// the window (at 30 repaints a second an unpaced run lost 6-10 % of its passes, at 20
// about half that).
class InferenceView : public QWidget {
public:
    explicit InferenceView(QWidget* parent = nullptr);

    // A new run from this generator state and table: the last run's pass is cleared.
    void StartRun(std::uint64_t generatorState, const InferenceTable& table);
    // What the world inferred on the pass just made; it also ends the showing of a pass
    // chosen in the strip.
    void ShowPass(const RobotSimulation& sim);
    // Shows the reasoning of the strip's column (0: the oldest pass it holds) until the
    // next pass or another choice.
    void ChoosePass(int column);
    // The pace (0: unpaced) and the pause, as the run loop has them now.
    void ShowRunState(int passesPerSecond, bool paused);
    // The dialog's table as it is now, for the command surface.
    void ShowTable(const InferenceTable& table) { m_surface->SetTable(table); }
    // The window "Surface de commande", opened from this one.
    CommandSurfaceWindow& Surface() const { return *m_surface; }

    bool HasReading() const { return m_hasReading; }
    const InferenceReading& Reading() const { return m_reading; }
    const InferenceHistory& History() const { return m_history; }
    InferenceStrip& Strip() const { return *m_strip; }
    // The reading the picture shows now: the latest pass's, or the chosen one's.
    const InferenceReading& ShownReading() const { return m_plot->Reading(); }
    std::uint64_t GeneratorState() const { return m_generatorState; }
    // The command that replays the current run without a window.
    QString ReplayCommand() const { return m_replay->text(); }
    int RepaintCount() const { return m_repaints; }

    static constexpr int kRepaintIntervalMs = 50;

private:
    void Repaint();

    InferencePlot* m_plot;
    InferenceHistory m_history;
    InferenceStrip* m_strip;
    QLabel* m_replay;
    CommandSurfaceWindow* m_surface;
    QTimer m_repaintTimer;
    InferenceReading m_reading;
    bool m_hasReading = false;
    bool m_changed = false;
    std::uint64_t m_generatorState = 0;
    int m_repaints = 0;
};
