#pragma once
#include <string>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include <QString>

// The highgui window of one simulation run, destroyed with this object.
//
// Closing it with its close box makes it disappear behind highgui's back: from then on
// it counts as closed for good and nothing is drawn into it or moved any more, since
// showing an image would bring up a fresh window of the same name.
class SimulationWindow {
public:
    explicit SimulationWindow(std::string name);
    ~SimulationWindow();
    SimulationWindow(const SimulationWindow&) = delete;
    SimulationWindow& operator=(const SimulationWindow&) = delete;

    const std::string& Name() const { return m_name; }
    // Shows an image whose row 0 is its bottom line, so it appears upright.
    void Show(const cv::Mat& image);
    void Move(int x, int y);
    void SetMouseCallback(cv::MouseCallback callback, void* param);
    // Shows a text over the top of the image, drawn by the window and not into the
    // image, for the given time (0: until the next one). Showing the same text again
    // does nothing, so a loop may ask on every pass.
    void ShowOverlay(const QString& text, int durationMs);
    // False once the window has been closed or destroyed by any means.
    bool IsOpen();

private:
    std::string m_name;
    cv::Mat m_upright;
    QString m_overlay;
    bool m_open = true;
};
