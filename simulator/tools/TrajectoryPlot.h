#pragma once
#include <string>
#include <vector>

#include <opencv2/core.hpp>

// The robot's path over its arena, scaled up so a person can read it: the path as a
// line that darkens with time, a ring where each collision was counted, the start
// as a green dot and the end as a black one.
class TrajectoryPlot {
public:
    static constexpr int kScale = 3;

    // Call once after the set-up and once after every pass, with the world's centre
    // and its collision count so far.
    void Record(double centerX, double centerY, int collisionsSoFar);

    // The arena (row 0 = y 0) with the path over it, row 0 at the bottom of the picture.
    cv::Mat Render(const cv::Mat& arena) const;

    // Returns false when the picture cannot be written.
    bool Write(const std::string& path, const cv::Mat& arena) const;

private:
    struct Sample {
        cv::Point2d centre;
        bool collided;  // a collision was counted on this pass
    };
    std::vector<Sample> samples_;
    int collisions_ = 0;
};
