#pragma once
#include <opencv2/core.hpp>

#include "world/InferenceTable.h"

// The command surface of a table: two heat maps, angle and speed, over the left distance
// (across, 0 to 3 x far) and the right distance (up, 0 to 3 x far) at one front distance,
// each with its colour legend, the ramp bounds near and far marked on both axes. The
// commands come from the controller's own inference (FuzzyInference and WeightedCommand)
// with the table's angles as given, so S1 and S6 show the sign they currently have.
struct CommandSurfaceView {
    const InferenceTable& table;
    double nearDistance;
    double farDistance;
    double frontDistance;
};

// A CV_8UC3 picture, upright (row 0 at the top), the same size for every table.
cv::Mat DrawCommandSurface(const CommandSurfaceView& view);

enum class SurfaceMap { Angle, Speed };
// Where the map shows the command at (left, right): for a caller's marker and for tests.
cv::Point SurfacePoint(SurfaceMap map, double left, double right, double farDistance);
