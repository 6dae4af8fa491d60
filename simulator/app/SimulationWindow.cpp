#include "app/SimulationWindow.h"

#include <utility>

#include <opencv2/imgproc.hpp>

#include "world/PixelZoom.h"

SimulationWindow::SimulationWindow(std::string name, int zoom) : m_name(std::move(name)), m_zoom(zoom), m_band(1)
{
    cv::namedWindow(m_name, cv::WINDOW_AUTOSIZE | cv::WINDOW_GUI_NORMAL);
}

SimulationWindow::~SimulationWindow()
{
    try {
        cv::destroyWindow(m_name);
    } catch (const cv::Exception&) {
        // Once its last window is gone highgui drops its GUI receiver and refuses
        // every window call: the window is already destroyed, which is all we want.
    }
}

void SimulationWindow::Show(const cv::Mat& image)
{
    if (!IsOpen()) return;
    cv::flip(image, m_upright, 0);
    if (Clock::now() >= m_hintEnds) {
        m_hintEnds = Clock::time_point::max();
        m_band.SetText(QString());
    }
    Compose();
}

void SimulationWindow::SetZoom(int zoom)
{
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    if (IsOpen() && !m_upright.empty()) Compose();
}

void SimulationWindow::Move(int x, int y)
{
    if (IsOpen()) cv::moveWindow(m_name, x, y);
}

void SimulationWindow::SetMouseCallback(cv::MouseCallback callback, void* param)
{
    if (IsOpen()) cv::setMouseCallback(m_name, callback, param);
}

void SimulationWindow::ShowHint(const QString& text, int durationMs)
{
    if (text == m_hint || !IsOpen()) return;
    m_hint = text;
    m_hintEnds = durationMs > 0 ? Clock::now() + std::chrono::milliseconds(durationMs) : Clock::time_point::max();
    m_band.SetText(text);
    // While paused no new image comes: the last one is shown again with the new hint.
    if (!m_upright.empty()) Compose();
}

void SimulationWindow::Compose()
{
    const int width = m_upright.cols * m_zoom;
    if (m_band.Width() != width) {
        const QString text = m_band.Text();
        m_band = HintBand(width);
        m_band.SetText(text);
    }
    const cv::Mat& band = m_band.Picture();
    m_picture.create(band.rows + m_upright.rows * m_zoom, width, CV_8UC3);
    band.copyTo(m_picture.rowRange(0, band.rows));
    cv::Mat arena = m_picture.rowRange(band.rows, m_picture.rows);
    EnlargePixels(m_upright, m_zoom, arena);
    cv::imshow(m_name, m_picture);
}

bool SimulationWindow::IsOpen()
{
    if (!m_open) return false;
    try {
        m_open = cv::getWindowProperty(m_name, cv::WND_PROP_VISIBLE) > 0;
    } catch (const cv::Exception&) {
        m_open = false;
    }
    return m_open;
}
