#pragma once
#include <pybind11/numpy.h>

#include <opencv2/core.hpp>

// A world image as Python plots it: the right way up (y = 0 at the bottom, as the window
// shows it) and in RGB order, uint8, height x width x 3, a copy of its own.
pybind11::array_t<std::uint8_t> UprightRgb(const cv::Mat& image);
// Already upright images (frames the runner made upright), in RGB order.
cv::Mat RgbOf(const cv::Mat& uprightBgr);
pybind11::array_t<std::uint8_t> ArrayOf(const cv::Mat& rgb);
