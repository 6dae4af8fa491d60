#pragma once
#include <opencv2/core.hpp>
#include <string>

#include "world/RobotSimulation.h"

// Writes an image the way the simulation window shows it: row 0 (y = 0) at the bottom.
// Throws std::runtime_error naming the option and path when the file is not written.
void WritePicture(const std::string& option, const std::string& path, const cv::Mat& image);

// Writes an image as it is, row 0 at the top (a chart), with the same refusal.
void WriteImage(const std::string& option, const std::string& path, const cv::Mat& image);

// The world's frame (ComposeFrame) enlarged `zoom` times, each pixel a zoom × zoom
// square, as the desktop window shows it.
cv::Mat EnlargedFrame(const RobotSimulation& sim, int zoom);

// The enlarged frame the right way up, as the window shows it: y = 0 at the bottom.
cv::Mat UprightFrame(const RobotSimulation& sim, int zoom);

// Two upright pictures side by side, both at the top of a white ground as tall as the
// taller one, and the size that makes.
cv::Mat SideBySide(const cv::Mat& left, const cv::Mat& right);
cv::Size SideBySideSize(cv::Size left, cv::Size right);

// A path an image writer accepts, checked before the run so that a typo in a picture
// name does not cost a whole run. Throws UsageError.
std::string PicturePath(const std::string& option, const std::string& path);
