#pragma once
#include <opencv2/core.hpp>
#include <string>

// Writes an image the way the simulation window shows it: row 0 (y = 0) at the bottom.
// Throws std::runtime_error naming the option and path when the file is not written.
void WritePicture(const std::string& option, const std::string& path, const cv::Mat& image);

// The frame the window shows: the canvas laid over the arena by a per-byte AND.
cv::Mat ComposeFrame(const cv::Mat& canvas, const cv::Mat& arena);

// That frame the right way up, as the window shows it: y = 0 at the bottom.
cv::Mat UprightFrame(const cv::Mat& canvas, const cv::Mat& arena);
