#pragma once
#include <opencv2/core.hpp>
#include <vector>

#include "TrajetCodeurs.h"

// The path on a white square picture, north up: the start marked by a green disc, the
// end by a red one, and a scale bar of a round number of millimetres.
cv::Mat DessinerTrajet(const std::vector<PointTrajet>& trajet, int cotePixels = 800);

// The scale bar's length: the largest 1, 2 or 5 times a power of ten not above `maxMm`.
double LongueurEchelleMm(double maxMm);
