#include "world/FreeMap.h"

#include <opencv2/imgproc.hpp>

namespace {

// The pixels that cv::circle fills around a centre, taken from the primitive itself so
// the dilation can never disagree with it. Mirrored through the centre, because a
// dilation gathers from its neighbours while a disc scatters to them.
cv::Mat DiscFootprintKernel(int radius)
{
    const int size = 2 * radius + 1;
    // Not cv::Mat::zeros: a matrix expression goes through a singleton OpenCV creates on
    // first use without a barrier, and the tuner's threads build arenas side by side.
    cv::Mat disc(size, size, CV_8UC1, cv::Scalar(0));
    cv::circle(disc, cv::Point(radius, radius), radius, cv::Scalar(255), cv::FILLED, cv::LINE_8);
    cv::Mat kernel;
    cv::flip(disc, kernel, -1);
    return kernel;
}

}  // namespace

void BuildFreeMap(const cv::Mat& arena, cv::Mat& freeMap, int dilationRadius)
{
    cv::Mat blue;
    cv::extractChannel(arena, blue, 0);
    cv::Mat obstacles;
    cv::compare(blue, 255, obstacles, cv::CMP_NE);
    cv::Mat blocked;
    cv::dilate(obstacles, blocked, DiscFootprintKernel(dilationRadius), cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
               cv::Scalar(0));
    cv::bitwise_not(blocked, freeMap);
}
