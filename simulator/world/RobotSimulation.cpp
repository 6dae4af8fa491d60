#include "world/RobotSimulation.h"

#include <opencv2/core/utility.hpp>

RobotSimulation::RobotSimulation(int width, int height)
    : canvas(height, width, CV_8UC3), arena(height, width, CV_8UC3), freeMap(height, width, CV_8UC1), width(width),
      height(height), rng(static_cast<std::uint64_t>(cv::getTickCount()))
{
}

// The images free themselves; windows and timers belong to whichever front end made them.
RobotSimulation::~RobotSimulation() = default;

bool RobotSimulation::IsInsideImage(double x, double y) const
{
    return x >= 0 && x < width && y >= 0 && y < height;
}
