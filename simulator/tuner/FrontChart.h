#pragma once
#include <opencv2/core.hpp>

#include "tuner/TuningFront.h"

// The tables the search met as points, collisions per 1000 passes (up) against mean
// speed (across) on the tuning arenas, coloured by the share of the interior entered;
// the front joined from slowest to fastest, each of its tables labelled with its rank
// (what --pick takes), the table written ringed in red and, when --pick took another,
// the balanced one (chosen on the validation arenas) ringed in grey. Rows are drawn top
// down, as a picture file holds them.
cv::Mat DrawFrontChart(const TuningFront& front, std::size_t written);
