#include <cmath>

#include "RobotSimulation.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfSqrt2 = 0.7071067811865476;

struct Sweep {
    double lowerBound;
    double upperBound;
    int slot;
    cv::Vec3b beamColour;
    cv::Vec3b highlightColour;
};

// Right, front, left: each sector's shortest beam is repainted in the next sector's colour.
const Sweep kSweeps[3] = {
    {-1.5707963267948966, -0.5235987755982988, 2, {255, 0, 0}, {0, 255, 0}},
    {-0.5235987755982988, 0.5235987755982988, 1, {0, 255, 0}, {0, 0, 255}},
    {0.5235987755982988, 1.5707963267948966, 0, {0, 0, 255}, {255, 0, 0}},
};

}  // namespace

double RobotSimulation::CastRay(double direction, double originX, double originY, const cv::Vec3b& colour,
                                bool draw)
{
    const double correction = 0.7 * wheelBase;
    // A beam from outside the picture, or in no direction at all, ends where it starts:
    // marching it would read bytes that are not the arena.
    if (!IsInsideImage(originX, originY) || !std::isfinite(direction)) return 0.0 - correction;

    const double c = std::cos(direction);
    const double s = std::sin(direction);
    const double startOffset = correction + 1;
    const double w = width;
    const double h = height;
    const unsigned char* obstacles = arena.data;
    unsigned char* frame = canvas.data;
    const size_t rowStride = arena.step;
    auto isFree = [&](double x, double y, size_t& offset) {
        offset = static_cast<size_t>(static_cast<int>(y)) * rowStride + 3 * static_cast<size_t>(static_cast<int>(x));
        return obstacles[offset] == 255;
    };
    auto paint = [&](size_t offset) {
        if (!draw) return;
        frame[offset] = colour[0];
        frame[offset + 1] = colour[1];
        frame[offset + 2] = colour[2];
    };

    double x, y;
    size_t offset;
    if (c <= -kHalfSqrt2 || c >= kHalfSqrt2) {
        const double t = std::tan(direction);
        const double stepX = c <= -kHalfSqrt2 ? -1.0 : 1.0;
        const double stepY = c <= -kHalfSqrt2 ? -t : t;
        x = c <= -kHalfSqrt2 ? originX - startOffset : originX + startOffset;
        y = originY + t * (x - originX);
        for (;;) {
            if (stepX < 0 ? x <= 0 : x >= w) { x = stepX < 0 ? 0 : w; break; }
            if (y <= 0) { y = 0; break; }
            if (y >= h) { y = h; break; }
            if (!isFree(x, y, offset)) break;
            paint(offset);
            x += stepX;
            y += stepY;
        }
    } else {
        // Within a rounding error of an odd multiple of 45 degrees neither cosine nor
        // sine may reach the threshold; such a beam marches along y, on the side of its sine.
        const double r = 1 / (std::tan(direction) + 1e-24);
        const bool down = s < 0;
        const double stepY = down ? -1.0 : 1.0;
        const double stepX = down ? -r : r;
        y = down ? originY - startOffset : originY + startOffset;
        x = originX + r * (y - originY);
        for (;;) {
            if (down ? y <= 0 : y >= h) { y = down ? 0 : h; break; }
            if (x <= 0) { x = 0; break; }
            if (x >= w) { x = w; break; }
            if (!isFree(x, y, offset)) break;
            paint(offset);
            x += stepX;
            y += stepY;
        }
    }
    const double dx = x - originX;
    const double dy = y - originY;
    return std::sqrt(dx * dx + dy * dy) - correction;
}

void RobotSimulation::Sense(bool draw)
{
    const double offsetStep = kPi / (3 * raysPerSector);
    for (const Sweep& sweep : kSweeps) {
        double shortest = width + height;
        double bestOffset = sweep.lowerBound;
        double offset = sweep.lowerBound;
        for (;;) {
            const double d = CastRay(heading + offset, centerX, centerY, sweep.beamColour, draw);
            if (d < shortest) {
                shortest = d;
                bestOffset = offset;
            }
            const double next = offset + offsetStep;
            // A beam count that is not positive, or so large that the step vanishes
            // against the offset, would never reach the sector's end: one beam then.
            if (!(next > offset)) break;
            offset = next;
            if (!(offset < sweep.upperBound)) break;
        }
        sectorDistance[sweep.slot] = shortest;
        CastRay(heading + bestOffset, centerX, centerY, sweep.highlightColour, draw);
    }
}
