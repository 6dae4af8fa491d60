#include "ViewWindow.h"

#include <X11/Xlib.h>
#include <cstdlib>
#include <opencv2/highgui.hpp>

std::string MissingDisplay()
{
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (display && *display) {
        // highgui goes through Qt, which gives up on an X server that does not answer.
        Display* connection = XOpenDisplay(display);
        if (!connection) return std::string("l'affichage « ") + display + " » ne répond pas";
        XCloseDisplay(connection);
        return {};
    }
    if (wayland && *wayland) return {};
    return "aucun affichage (DISPLAY n'est pas défini)";
}

ViewWindow::ViewWindow(const std::string& title) : title_(title)
{
    cv::namedWindow(title_, cv::WINDOW_AUTOSIZE | cv::WINDOW_GUI_NORMAL);
}

ViewWindow::~ViewWindow()
{
    cv::destroyWindow(title_);
}

void ViewWindow::Show(const cv::Mat& frame)
{
    cv::imshow(title_, frame);
    shown_ = true;
    cv::waitKey(1);
}

bool ViewWindow::Closed() const
{
    return shown_ && cv::getWindowProperty(title_, cv::WND_PROP_VISIBLE) < 1;
}
