// The simulation run of the main dialog: one whole run inside the command handler,
// with highgui's key poll serving the dialog, its timer and the window's mouse.
#include "MarluneDlg.h"

#include <chrono>
#include <thread>

#include <QPushButton>

#include <opencv2/core.hpp>

#include "RunHints.h"
#include "RunStatistics.h"
#include "SimulationRun.h"
#include "SimulationWindow.h"

namespace {

const std::string kWindowName = "Robot Simulation";
constexpr int kRunButton = 2;
constexpr int kKeyStart = 'g';
constexpr int kKeyPause = 'p';
constexpr int kKeyBeams = 't';
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

} // namespace

void CMarluneDlg::OnRunSimulation()
{
    // A field left half-typed would run with its previous value, unseen.
    if (m_running || !UpdateData(true))
        return;
    m_quitAfterRun = false;
    {
        RunningScope running(m_running, *findChild<QPushButton*>(QString::number(kRunButton)));
        PrepareRun(m_sim, m_table);

        SimulationWindow window(kWindowName);
        m_sim.DrawRobot(false);
        cv::bitwise_and(m_sim.canvas, m_sim.arena, m_sim.canvas);
        window.Show(m_sim.canvas);
        window.Move(50, 50);

        m_tickPending = false;
        m_tickCount = 0;
        m_runTimer.start();
        m_startClicked = false;
        bool closed = false;
        window.SetMouseCallback(&CMarluneDlg::OnSimulationMouse, this);
        bool started = false;
        m_collisionCount = 0;

        for (;;) {
            // Nothing but the timer sets the flag, and it only runs inside the key poll:
            // a pending tick skips the short wait, otherwise the pass waits 1 ms.
            if (!m_tickPending)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            m_tickPending = false;

            const RunStatistics statistics = FormatRunStatistics(m_sim, m_tickCount);
            m_meanCollisions = statistics.meanCollisions;
            m_meanSpeed = statistics.meanSpeed;
            UpdateData(false);
            const RunHint hint = RunHintFor(started, m_sim.paused);
            m_windowHint = hint.text;
            window.ShowOverlay(hint.text, hint.durationMs);

            const int key = m_keyPoll(1);
            if (!window.IsOpen())
                closed = true;

            if (!started) {
                started = key == kKeyStart || m_startClicked;
            } else {
                if (key == kKeyPause)
                    m_sim.paused = !m_sim.paused;
                else if (key == kKeyBeams)
                    m_sim.showBeams = !m_sim.showBeams;
                if (!m_sim.paused) {
                    m_sim.Step();
                    if (m_sim.UpdateCollision()) {
                        ShakeWindow(window);
                    } else {
                        m_collisionCount = m_sim.collisions;
                        m_sim.DrawRobot(false);
                    }
                    m_sim.Sense(m_sim.showBeams);
                    m_sim.ComputeCommand();
                    cv::bitwise_and(m_sim.canvas, m_sim.arena, m_sim.canvas);
                    window.Show(m_sim.canvas);
                }
            }
            if (key == kKeyEscape || closed || m_quitAfterRun)
                break;
        }
        m_runTimer.stop();
    }
    if (m_quitAfterRun)
        accept();
}

void CMarluneDlg::ShakeWindow(SimulationWindow& window)
{
    // The robot blinks and the window jumps at the tick rate, however many passes run
    // between two ticks.
    const bool evenTick = m_tickCount % 2 == 0;
    m_sim.DrawRobot(!evenTick);
    if (evenTick)
        window.Move(45, 45);
    else
        window.Move(55, 55);
}

void CMarluneDlg::OnTimer(unsigned timerId)
{
    if (timerId != 1)
        return;
    if (!m_sim.paused)
        ++m_tickCount;
    m_tickPending = true;
}

void CMarluneDlg::OnSimulationMouse(int event, int x, int y, int flags, void* param)
{
    (void)x;
    (void)y;
    (void)flags;
    if (event == cv::EVENT_LBUTTONDOWN)
        static_cast<CMarluneDlg*>(param)->m_startClicked = true;
}
