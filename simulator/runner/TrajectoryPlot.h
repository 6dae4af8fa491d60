#pragma once
#include <vector>

#include <opencv2/core.hpp>

// The robot's path over its arena, scaled up so a person can read it: the path as a
// line that darkens with time, a ring where each collision was counted, the start
// as a green dot and the end as a black one. The picture keeps the world's rows
// (row 0 = y 0), like every other image of the world; whoever shows it flips it.
class TrajectoryPlot {
public:
    static constexpr int kScale = 3;

    // Call once after the set-up and once after every pass, with the world's centre
    // and its collision count so far.
    void Record(double centerX, double centerY, int collisionsSoFar);

    // The arena, kScale times larger, with the path over it.
    cv::Mat Render(const cv::Mat& arena) const;

private:
    struct Sample {
        cv::Point2d centre;
        bool collided;  // a collision was counted on this pass
    };
    std::vector<Sample> m_samples;
    int m_collisions = 0;
};
