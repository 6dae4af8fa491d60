#pragma once
#include <memory>
#include <opencv2/core.hpp>

#include "world/RobotSimulation.h"

// A 256 x 256 world with the desktop program's robot, seeded so every run repeats.
inline std::unique_ptr<RobotSimulation> MakeSeededWorld(std::uint64_t seed)
{
    auto sim = std::make_unique<RobotSimulation>(256, 256);
    sim->rng.Seed(seed);
    sim->SetGeometry(15.0, 10.0, 5.0);
    return sim;
}

// A world with no obstacle anywhere: white arena and canvas, free map all free.
inline std::unique_ptr<RobotSimulation> MakeEmptyWorld()
{
    auto sim = MakeSeededWorld(1);
    sim->arena.setTo(cv::Scalar(255, 255, 255));
    sim->canvas.setTo(cv::Scalar(255, 255, 255));
    sim->freeMap.setTo(cv::Scalar(255));
    return sim;
}

inline bool SameBytes(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && a.type() == b.type() && cv::countNonZero(cv::Mat(a != b).reshape(1)) == 0;
}
