#pragma once
#include <opencv2/core.hpp>

// The collision map: 0 on every pixel covered by a filled 8-connected disc of the given
// radius centred on an obstacle pixel (blue byte not 255) of the arena, 255 elsewhere.
// Built as one dilation by the disc's exact footprint, which gives the same pixels as
// drawing one disc per obstacle pixel at a fraction of the cost.
void BuildFreeMap(const cv::Mat& arena, cv::Mat& freeMap, int dilationRadius);
