#pragma once
#include <functional>

#include <QApplication>
#include <QWidget>

#include <opencv2/highgui.hpp>

#include "DialogFixture.h"

constexpr int kEscape = 27;
constexpr int kNoKey = -1;
// A bound on every scripted run, so a fault shows as a failure and not a hang.
constexpr int kMaxPasses = 3000;
// tables/example.ifi: its S3 and S8 win often in an open arena, so the sign draw runs.
constexpr InferenceTable kExampleTable = {{60, -55, 0, -5, 55, 60, 5, 0}, {0.2, 0.5, 1.5, 2, 0.5, 0.5, 2, 2.5}};

// The dialog with scripted simulation runs.
class RunFixture : public DialogFixture {
protected:
    // Runs one simulation in which the script, called on every pass with the pass
    // number, stands for the key typed in the simulation window. highgui still serves
    // the GUI's events on every pass, exactly as without the script.
    void Run(const std::function<int(int pass)>& script)
    {
        int pass = 0;
        dialog.SetKeyPoll([&](int delayMs) {
            cv::waitKey(delayMs);
            if (pass >= kMaxPasses) {
                ADD_FAILURE() << "the run did not end";
                return kEscape;
            }
            return script(pass++);
        });
        dialog.OnRunSimulation();
        QApplication::processEvents();
    }

    static QWidget* SimulationWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->windowTitle() == "Robot Simulation") return widget;
        }
        return nullptr;
    }

    // The window's image area, where highgui listens to the mouse.
    static QWidget* ImageArea()
    {
        QWidget* window = SimulationWindow();
        if (!window) return nullptr;
        QWidget* area = window->childAt(window->rect().center());
        return area ? area : window;
    }

    void SetSpeeds(double speed)
    {
        for (int k = 0; k < 8; ++k) dialog.m_table.speeds[k] = speed;
    }
};
