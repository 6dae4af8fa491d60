#pragma once
#include <opencv2/core.hpp>
#include <string>

// The window of trundel-robot --view, an OpenCV highgui window pumped from the thread
// that shows the pictures.

// Empty when a window can be opened; else the French reason why not (no DISPLAY, or a
// display that does not answer). Asked before any window call: highgui aborts the whole
// program when it finds no display.
std::string MissingDisplay();

class ViewWindow {
public:
    explicit ViewWindow(const std::string& title);
    ~ViewWindow();
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    // Shows the picture and lets the window handle its events.
    void Show(const cv::Mat& frame);
    // True once the user closed the window.
    bool Closed() const;

private:
    std::string title_;
    bool shown_ = false;
};
