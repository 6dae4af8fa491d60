#pragma once
#include <opencv2/core.hpp>

// Enlarges an image by a whole factor, each pixel becoming a zoom × zoom square of
// exactly its colour, never smoothed: the way the desktop window and the runner's
// pictures show the arena larger. `enlarged` may be a region of a larger image of the
// enlarged size: it is then written in place.
void EnlargePixels(const cv::Mat& image, int zoom, cv::Mat& enlarged);
