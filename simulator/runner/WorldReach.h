#pragma once
#include "world/RobotSimulation.h"

// How far from its image a robot may be, in pixels, and how fast it may be commanded, in
// pixels per pass, while a pass still means something. A table of huge speeds throws the
// robot far beyond that in one step; from there its coordinates overflow to infinity and
// NaN, drawing clamps them to the edge of what a pixel can hold and one pass of drawing
// lines across the whole image takes tens of milliseconds.
inline constexpr double kWorldReach = 1e6;
// The largest heading and steering, in radians, that a pass can still take sines and
// cosines of quickly and precisely: beyond it the maths library's slow reduction makes
// the 180 beams of a pass cost hundreds of microseconds, and a beam's offset of a
// hundredth of a radian is lost in the heading's last digit soon after. A robot turning
// as hard as a sensible table lets it takes hours of passes to reach it.
inline constexpr double kLargestAngle = 1e8;

// True while the pose and the command computed by the last pass keep the next pass
// meaningful: the robot within kWorldReach of its image, its speed at most kWorldReach
// per pass, its heading and steering within kLargestAngle (NaN and infinities fail).
bool NextPassStaysInTheWorld(const RobotSimulation& sim);
