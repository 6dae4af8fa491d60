#pragma once
#include <chrono>
#include <string>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include <QString>

#include "app/HintBand.h"

// The highgui window of one simulation run, destroyed with this object: the world's
// frame upright and enlarged, under a band of hints.
//
// Closing it with its close box makes it disappear behind highgui's back: from then on
// it counts as closed for good and nothing is drawn into it or moved any more, since
// showing an image would bring up a fresh window of the same name.
class SimulationWindow {
public:
    using Clock = std::chrono::steady_clock;

    SimulationWindow(std::string name, int zoom);
    ~SimulationWindow();
    SimulationWindow(const SimulationWindow&) = delete;
    SimulationWindow& operator=(const SimulationWindow&) = delete;

    const std::string& Name() const { return m_name; }
    // Shows an image whose row 0 is its bottom line, so it appears upright, each of its
    // pixels a square of zoom × zoom screen pixels (copied, never smoothed).
    void Show(const cv::Mat& image);
    // Enlarges the image shown, now and from then on.
    void SetZoom(int zoom);
    int Zoom() const { return m_zoom; }
    void Move(int x, int y);
    void SetMouseCallback(cv::MouseCallback callback, void* param);
    // Writes a text into the band of hints for the given time (0: until the next one).
    // Showing the same text again does nothing, so a loop may ask on every pass.
    void ShowHint(const QString& text, int durationMs);
    // The picture the window shows: the band of hints, then the arena below it.
    const cv::Mat& Picture() const { return m_picture; }
    int BandHeight() const { return m_band.Picture().rows; }
    // False once the window has been closed or destroyed by any means.
    bool IsOpen();

private:
    // Lays the band and the enlarged image into the picture and shows it.
    void Compose();

    std::string m_name;
    int m_zoom;
    cv::Mat m_upright;
    cv::Mat m_picture;
    HintBand m_band;
    QString m_hint;
    Clock::time_point m_hintEnds = Clock::time_point::max();
    bool m_open = true;
};
