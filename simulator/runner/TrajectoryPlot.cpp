#include "runner/TrajectoryPlot.h"

#include <algorithm>

#include <opencv2/imgproc.hpp>

#include "world/PixelCoordinate.h"

namespace {

// A world position to the middle of its scaled pixel. A robot that drove far away (or
// whose table holds no usable number) is pinned far outside the picture, where its
// line is clipped, instead of overflowing the conversion.
cv::Point ToPicture(const cv::Point2d& world)
{
    const int scale = TrajectoryPlot::kScale;
    return {TruncateToPixel(world.x) * scale + scale / 2, TruncateToPixel(world.y) * scale + scale / 2};
}

}  // namespace

void TrajectoryPlot::Record(double centerX, double centerY, int collisionsSoFar)
{
    const bool collided = !m_samples.empty() && collisionsSoFar > m_collisions;
    m_collisions = collisionsSoFar;
    m_samples.push_back({{centerX, centerY}, collided});
}

cv::Mat TrajectoryPlot::Render(const cv::Mat& arena) const
{
    cv::Mat picture;
    cv::resize(arena, picture, {}, kScale, kScale, cv::INTER_NEAREST);
    if (m_samples.empty()) return picture;

    const double last = static_cast<double>(std::max<std::size_t>(m_samples.size() - 1, 1));
    for (std::size_t i = 1; i < m_samples.size(); ++i) {
        // From light to dark blue, so where the robot went first and last can be told apart.
        const double age = static_cast<double>(i) / last;
        const cv::Scalar colour(255 - 55 * age, 190 * (1 - age), 60 * (1 - age));
        cv::line(picture, ToPicture(m_samples[i - 1].centre), ToPicture(m_samples[i].centre), colour, 2, cv::LINE_AA);
    }
    for (const Sample& sample : m_samples)
        if (sample.collided)
            cv::circle(picture, ToPicture(sample.centre), 3 * kScale, cv::Scalar(0, 0, 230), 2, cv::LINE_AA);
    cv::circle(picture, ToPicture(m_samples.front().centre), 2 * kScale, cv::Scalar(0, 170, 0), cv::FILLED,
               cv::LINE_AA);
    cv::circle(picture, ToPicture(m_samples.back().centre), 2 * kScale, cv::Scalar(0, 0, 0), cv::FILLED, cv::LINE_AA);
    return picture;
}
