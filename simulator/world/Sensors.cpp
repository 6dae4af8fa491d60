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

// Where a beam is, in the frame of its marching case: the major coordinate moves by one
// whole pixel per step towards one bound, the minor one by the slope, tested against both
// edges. Both x cases and both y cases share this one loop.
struct MarchFrame {
    double majorSize, minorSize;
    size_t majorBytes, minorBytes;  // byte distance of one pixel along each axis
    const unsigned char* obstacles;
    unsigned char* canvas;
};

struct BeamEnd {
    double major, minor;
};

// Takes and returns the position by value so it stays in registers while marching.
template <bool kDecreasing, bool kDraw>
BeamEnd March(double major, double minor, double minorStep, const MarchFrame& frame, const cv::Vec3b& colour)
{
    for (;;) {
        if (kDecreasing ? major <= 0 : major >= frame.majorSize) {
            return {kDecreasing ? 0 : frame.majorSize, minor};
        }
        if (minor <= 0) {
            return {major, 0};
        }
        if (minor >= frame.minorSize) {
            return {major, frame.minorSize};
        }
        const size_t offset = static_cast<size_t>(static_cast<int>(major)) * frame.majorBytes +
                              static_cast<size_t>(static_cast<int>(minor)) * frame.minorBytes;
        if (frame.obstacles[offset] != 255) return {major, minor};
        if (kDraw) {
            frame.canvas[offset] = colour[0];
            frame.canvas[offset + 1] = colour[1];
            frame.canvas[offset + 2] = colour[2];
        }
        major += kDecreasing ? -1.0 : 1.0;
        minor += minorStep;
    }
}

// The direction and the painting are fixed for a whole beam: one loop for each.
BeamEnd March(bool decreasing, bool draw, double major, double minor, double minorStep, const MarchFrame& frame,
              const cv::Vec3b& colour)
{
    if (decreasing)
        return draw ? March<true, true>(major, minor, minorStep, frame, colour)
                    : March<true, false>(major, minor, minorStep, frame, colour);
    return draw ? March<false, true>(major, minor, minorStep, frame, colour)
                : March<false, false>(major, minor, minorStep, frame, colour);
}

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
    const size_t rowStride = arena.step;
    double x, y;
    if (c <= -kHalfSqrt2 || c >= kHalfSqrt2) {
        const double t = std::tan(direction);
        const bool decreasing = c <= -kHalfSqrt2;
        x = decreasing ? originX - startOffset : originX + startOffset;
        y = originY + t * (x - originX);
        const MarchFrame frame{static_cast<double>(width), static_cast<double>(height), 3, rowStride, arena.data,
                               canvas.data};
        const double stepY = decreasing ? -t : t;
        const BeamEnd end = March(decreasing, draw, x, y, stepY, frame, colour);
        x = end.major;
        y = end.minor;
    } else {
        // Within a rounding error of an odd multiple of 45 degrees neither cosine nor
        // sine may reach the threshold; such a beam marches along y, on the side of its sine.
        const double r = 1 / (std::tan(direction) + 1e-24);
        const bool decreasing = s < 0;
        y = decreasing ? originY - startOffset : originY + startOffset;
        x = originX + r * (y - originY);
        const MarchFrame frame{static_cast<double>(height), static_cast<double>(width), rowStride, 3, arena.data,
                               canvas.data};
        const double stepX = decreasing ? -r : r;
        const BeamEnd end = March(decreasing, draw, y, x, stepX, frame, colour);
        y = end.major;
        x = end.minor;
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
