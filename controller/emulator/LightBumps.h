#pragma once
#include "Room.h"

#include <array>
#include <cstdint>

namespace emulator {

// The six light-bump sensors on the front of the body, from the robot's left to its
// right: Left, Front Left, Center Left, Center Right, Front Right, Right.
constexpr int kLightSensors = 6;
using LightBumpSignals = std::array<std::uint16_t, kLightSensors>;

// Each sensor sits on the rim and looks straight out from the centre, at these bearings
// from the heading (positive to the left), as far as kLightBumpRangeMm.
constexpr double kLightBumpBearingsDeg[kLightSensors] = {72, 42, 14, -14, -42, -72};
constexpr double kLightBumpRangeMm = 250.0;

// What the sensors read with the body's centre at x, y, heading `headingRad`, its rim
// `rimRadiusMm` from the centre: 0 (nothing in range) to 4095 (touching).
LightBumpSignals ReadLightBumps(const Room& room, double x, double y, double headingRad, double rimRadiusMm);

}  // namespace emulator
