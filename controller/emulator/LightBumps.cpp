#include "LightBumps.h"

#include <algorithm>
#include <cmath>

namespace emulator {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// The cone model. A light bump is an emitter and a receiver side by side: what it reads is
// light thrown back by whatever lies in a cone around its axis, strongest on the axis.
// Modelled as the best of rays cast across the cone:
//   signal = max over the rays of 4095 (1 - d / 250 mm)^2 cos^2(90 deg * phi / 50 deg)
// d the ray's distance to the first surface, phi its angle off the axis, |phi| <= 50 deg,
// one ray every 2 deg. On the axis this is the single ray the walls were first seen with,
// so a wall faced squarely reads as before (961 at 125 mm on the axis then, 976 now: the
// ray 14 deg towards the wall's normal is a little shorter). A narrower cone misses
// what stands between two axes: the axes are 28 to 30 deg apart but start 82 mm apart on
// the rim, so a leg 60 mm beyond the rim midway between two sensors is 44 deg off both
// axes. With 50 deg, a 30 mm leg there reads 515 on each neighbour (a group sum above the
// controller's 400), and a wall 42 deg off the axis at 164 mm still reads only 234, as the
// front sensors facing a wall 290 mm from the centre: their groups stay free. The 2 deg
// step is finer than the narrowest leg the rooms allow (5 mm radius) seen from 250 mm.
constexpr double kRangeMm = kLightBumpRangeMm;
constexpr double kConeHalfAngleDeg = 50.0;
constexpr int kRaysEachSide = 25;  // 2 deg apart
constexpr double kRayStepDeg = kConeHalfAngleDeg / kRaysEachSide;

// The rays' turns from the axis and their weights, worked out once.
struct Cone {
    double cosine[2 * kRaysEachSide + 1];
    double sine[2 * kRaysEachSide + 1];
    double weight[2 * kRaysEachSide + 1];
    Cone()
    {
        for (int ray = -kRaysEachSide; ray <= kRaysEachSide; ++ray) {
            const double offAxisDeg = ray * kRayStepDeg;
            const double c = std::cos(kPi / 2 * offAxisDeg / kConeHalfAngleDeg);
            cosine[ray + kRaysEachSide] = std::cos(offAxisDeg * kDegree);
            sine[ray + kRaysEachSide] = std::sin(offAxisDeg * kDegree);
            weight[ray + kRaysEachSide] = c * c;
        }
    }
};

}  // namespace

LightBumpSignals ReadLightBumps(const Room& room, double x, double y, double headingRad, double rimRadiusMm)
{
    static const Cone cone;
    thread_local Room::Neighbourhood near;
    LightBumpSignals signals{};
    for (int s = 0; s < kLightSensors; ++s) {
        const double axis = headingRad + kLightBumpBearingsDeg[s] * kDegree;
        const double ax = std::cos(axis);
        const double ay = std::sin(axis);
        const double sx = x + rimRadiusMm * ax;
        const double sy = y + rimRadiusMm * ay;
        room.PiecesNear(sx, sy, kRangeMm, near);
        double strongest = 0;
        for (int ray = 0; ray <= 2 * kRaysEachSide; ++ray) {
            // The axis turned by the ray's angle; on the axis itself exactly the axis.
            const double dx = ax * cone.cosine[ray] - ay * cone.sine[ray];
            const double dy = ay * cone.cosine[ray] + ax * cone.sine[ray];
            const double distance = room.RayDistance(sx, sy, dx, dy, near);
            if (distance >= kRangeMm) continue;
            const double nearness = 1.0 - distance / kRangeMm;
            strongest = std::max(strongest, 4095.0 * nearness * nearness * cone.weight[ray]);
        }
        signals[s] = static_cast<std::uint16_t>(std::lround(strongest));
    }
    return signals;
}

}  // namespace emulator
