#include "world/PixelZoom.h"

#include <opencv2/imgproc.hpp>

void EnlargePixels(const cv::Mat& image, int zoom, cv::Mat& enlarged)
{
    // The exact nearest neighbour: plain INTER_NEAREST may pick the wrong source pixel
    // at some whole scales.
    cv::resize(image, enlarged, cv::Size(image.cols * zoom, image.rows * zoom), 0, 0, cv::INTER_NEAREST_EXACT);
}
