#pragma once
#include "RobotSimulation.h"

// How far from its image a robot may be, in pixels, and how fast it may be commanded, in
// pixels per pass, while a pass still means something. A table of huge speeds throws the
// robot far beyond that in one step; from there its coordinates overflow to infinity and
// NaN, drawing clamps them to the edge of what a pixel can hold and one pass of drawing
// lines across the whole image takes tens of milliseconds.
inline constexpr double kWorldReach = 1e6;

// True while the pose and the command computed by the last pass keep the next pass
// meaningful: every coordinate, the heading, the steering and the speed finite, the
// robot within kWorldReach of its image and its speed at most kWorldReach per pass.
bool NextPassStaysInTheWorld(const RobotSimulation& sim);
