#include "SimulationWindow.h"

#include <utility>

SimulationWindow::SimulationWindow(std::string name) : m_name(std::move(name))
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
    cv::imshow(m_name, m_upright);
}

void SimulationWindow::Move(int x, int y)
{
    if (IsOpen()) cv::moveWindow(m_name, x, y);
}

void SimulationWindow::SetMouseCallback(cv::MouseCallback callback, void* param)
{
    if (IsOpen()) cv::setMouseCallback(m_name, callback, param);
}

void SimulationWindow::ShowOverlay(const QString& text, int durationMs)
{
    if (text == m_overlay || !IsOpen()) return;
    m_overlay = text;
    cv::displayOverlay(m_name, text.toStdString(), durationMs);
    // The window draws its overlay with the image: while paused no new image comes, so
    // the last one is shown again for the overlay to appear.
    if (!m_upright.empty()) cv::imshow(m_name, m_upright);
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
