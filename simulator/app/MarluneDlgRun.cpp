// The simulation run of the main dialog: one whole run inside the command handler,
// with highgui's key poll serving the dialog, its timer and the window's mouse.
#include "app/MarluneDlg.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <QPushButton>
#include <QScreen>

#include "app/InferenceView.h"
#include "app/RunHints.h"
#include "app/RunStatistics.h"
#include "app/SimulationWindow.h"
#include "app/UpperCaseKeyFilter.h"
#include "app/WindowZoom.h"
#include "world/SimulationRun.h"

namespace {

const std::string kWindowName = "Robot Simulation";
constexpr int kRunButton = 2;
constexpr int kKeyStart = 'g';
constexpr int kKeyPause = 'p';
constexpr int kKeyBeams = 't';
constexpr int kKeyFaster = '+';
constexpr int kKeySlower = '-';
constexpr int kKeySingleStep = 'n';
constexpr int kKeyInferenceView = 'i';
constexpr int kKeyEscape = 27;

// Marks the dialog busy for the length of a run, whichever way the run ends.
class RunningScope {
public:
    RunningScope(bool& running, QPushButton& runButton) : m_running(running), m_runButton(runButton)
    {
        m_running = true;
        m_runButton.setEnabled(false);
    }
    ~RunningScope()
    {
        m_running = false;
        m_runButton.setEnabled(true);
    }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    bool& m_running;
    QPushButton& m_runButton;
};

}  // namespace

void CMarluneDlg::OnRunSimulation()
{
    // A field left half-typed would run with its previous value, unseen.
    if (m_running || !UpdateData(true)) return;
    m_quitAfterRun = false;
    {
        RunningScope running(m_running, *findChild<QPushButton*>(QString::number(kRunButton)));
        // The state before the arena is drawn is the seed that replays this run headless.
        ShowInferenceView();
        m_inferenceView->StartRun(m_sim.rng.state, m_table);
        PrepareRun(m_sim, m_table);

        // The first run enlarges the arena to the screen; later ones keep the last zoom.
        if (m_zoom == 0) m_zoom = ZoomForScreen(screen()->geometry().height(), m_sim.height);
        SimulationWindow window(kWindowName, m_zoom);
        UpperCaseKeyFilter upperCaseKeys(QString::fromStdString(kWindowName));
        m_sim.DrawRobot(false);
        window.Show(ComposeFrame(m_sim));
        window.Move(50, 50);

        m_tickPending = false;
        m_tickCount = 0;
        m_runTimer.start();
        m_startClicked = false;
        bool closed = false;
        window.SetMouseCallback(&CMarluneDlg::OnSimulationMouse, this);
        bool started = false;
        m_collisionCount = 0;
        m_inferenceView->ShowRunState(m_runPace.PassesPerSecond(), m_sim.paused);

        for (;;) {
            // Nothing but the timer sets the flag, and it only runs inside the key poll:
            // a pending tick skips the short wait, otherwise the pass waits 1 ms.
            if (!m_tickPending) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            m_tickPending = false;

            const RunStatistics statistics = FormatRunStatistics(m_sim, m_tickCount);
            m_meanCollisions = statistics.meanCollisions;
            m_meanSpeed = statistics.meanSpeed;
            UpdateData(false);
            const RunHint hint = RunHintFor(started, m_sim.paused);
            m_windowHint = hint.text;
            window.ShowHint(hint.text, hint.durationMs);

            const int key = m_keyPoll(m_runPace.PollDelayMs(RunPace::Clock::now()));
            if (!window.IsOpen()) closed = true;

            // The pace, the zoom and the inference window may be chosen before the start
            // already.
            if (ZoomForKey(key) != 0) {
                m_zoom = ZoomForKey(key);
                window.SetZoom(m_zoom);
            } else if (key == kKeyFaster)
                m_runPace.Faster(RunPace::Clock::now());
            else if (key == kKeySlower)
                m_runPace.Slower(RunPace::Clock::now());
            else if (key == kKeyInferenceView)
                ShowInferenceView();

            if (!started) {
                started = key == kKeyStart || m_startClicked;
            } else {
                if (key == kKeyPause)
                    m_sim.paused = !m_sim.paused;
                else if (key == kKeyBeams)
                    m_sim.showBeams = !m_sim.showBeams;
                if (m_sim.paused ? key == kKeySingleStep : m_runPace.TakePass(RunPace::Clock::now()))
                    RunOnePass(window);
            }
            if (key == kKeyPause || key == kKeyFaster || key == kKeySlower)
                m_inferenceView->ShowRunState(m_runPace.PassesPerSecond(), m_sim.paused);
            if (key == kKeyEscape || closed || m_quitAfterRun) break;
        }
        m_runTimer.stop();
    }
    if (m_quitAfterRun) accept();
}

void CMarluneDlg::RunOnePass(SimulationWindow& window)
{
    // The robot blinks and the window jumps at the tick rate, however many passes run
    // between two ticks.
    const bool oddTick = m_tickCount % 2 != 0;
    if (RunPass(m_sim, {.robot = true, .beams = m_sim.showBeams, .collidingHighlighted = oddTick}))
        ShakeWindow(window, oddTick);
    else
        m_collisionCount = m_sim.collisions;
    window.Show(ComposeFrame(m_sim));
    m_inferenceView->ShowPass(m_sim);
}

void CMarluneDlg::ShowInferenceView()
{
    if (m_inferenceView->isVisible()) return;
    // Beside the dialog, where the simulation window does not cover it: on its right
    // when the screen has room, else on its left, else against the screen's edge.
    constexpr int kGap = 10;
    const QRect screen = this->screen()->availableGeometry();
    const QRect dialog = frameGeometry();
    m_inferenceView->adjustSize();
    constexpr int kFrameAllowance = 20;  // the window manager's frame is not known before the first show
    const int width = m_inferenceView->width() + kFrameAllowance;
    int x = dialog.right() + kGap;
    if (x + width > screen.right())
        x = dialog.left() - kGap - width >= screen.left() ? dialog.left() - kGap - width
                                                          : std::max(screen.left(), screen.right() - width);
    m_inferenceView->move(x, dialog.top());
    m_inferenceView->show();
}

void CMarluneDlg::ShakeWindow(SimulationWindow& window, bool oddTick)
{
    if (oddTick)
        window.Move(55, 55);
    else
        window.Move(45, 45);
}

void CMarluneDlg::OnTimer(unsigned timerId)
{
    if (timerId != 1) return;
    if (!m_sim.paused) ++m_tickCount;
    m_tickPending = true;
}

void CMarluneDlg::OnSimulationMouse(int event, int x, int y, int flags, void* param)
{
    (void)x;
    (void)y;
    (void)flags;
    if (event == cv::EVENT_LBUTTONDOWN) static_cast<CMarluneDlg*>(param)->m_startClicked = true;
}
