#pragma once
#include <opencv2/core.hpp>
#include <vector>

#include "tuner/TableScore.h"

// The rows as a picture, in the order given: one line per table with its name, a bar of
// its collisions per 1000 passes and one of its speed, each with the whiskers of its 95 %
// interval, and its coverage written beside with its interval. A table that could not be
// read keeps its line, marked so. Each bar's scale runs from 0 to the largest end of any
// interval.
cv::Mat DrawScoreChart(const std::vector<TableScore>& rows);
