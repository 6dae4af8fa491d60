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

// One position of a beam whose major coordinate is still short of its bound: the beam
// ends on a minor edge or on an obstacle pixel; otherwise the pixel is painted.
template <bool kDraw>
inline bool EndsAt(double major, double minor, const MarchFrame& frame, const cv::Vec3b& colour, BeamEnd& end)
{
    if (minor <= 0) {
        end = {major, 0};
        return true;
    }
    if (minor >= frame.minorSize) {
        end = {major, frame.minorSize};
        return true;
    }
    const size_t offset = static_cast<size_t>(static_cast<int>(major)) * frame.majorBytes +
                          static_cast<size_t>(static_cast<int>(minor)) * frame.minorBytes;
    if (frame.obstacles[offset] != 255) {
        end = {major, minor};
        return true;
    }
    if (kDraw) {
        frame.canvas[offset] = colour[0];
        frame.canvas[offset + 1] = colour[1];
        frame.canvas[offset + 2] = colour[2];
    }
    return false;
}

template <bool kDecreasing>
inline bool PastMajorBound(double major, const MarchFrame& frame)
{
    return kDecreasing ? major <= 0 : major >= frame.majorSize;
}

template <bool kDecreasing>
inline BeamEnd AtMajorBound(double minor, const MarchFrame& frame)
{
    return {kDecreasing ? 0 : frame.majorSize, minor};
}

// Takes and returns the position by value so it stays in registers while marching.
template <bool kDecreasing, bool kDraw>
BeamEnd March(double major, double minor, double minorStep, const MarchFrame& frame, const cv::Vec3b& colour)
{
    constexpr double kMajorStep = kDecreasing ? -1.0 : 1.0;
    for (;;) {
        if (PastMajorBound<kDecreasing>(major, frame)) return AtMajorBound<kDecreasing>(minor, frame);
        BeamEnd end;
        if (EndsAt<kDraw>(major, minor, frame, colour, end)) return end;
        major += kMajorStep;
        minor += minorStep;
    }
}

// Two beams of one case from one origin start on the same major coordinate and keep it,
// so they march side by side: one bound test for both, and two independent chains of
// additions the processor can overlap. Once one ends the other goes on alone, from the
// very position it would have reached by itself.
template <bool kDecreasing, bool kDraw>
void MarchPair(double major, double minorA, double stepA, double minorB, double stepB, const MarchFrame& frame,
               const cv::Vec3b& colour, BeamEnd& endA, BeamEnd& endB)
{
    constexpr double kMajorStep = kDecreasing ? -1.0 : 1.0;
    for (;;) {
        if (PastMajorBound<kDecreasing>(major, frame)) {
            endA = AtMajorBound<kDecreasing>(minorA, frame);
            endB = AtMajorBound<kDecreasing>(minorB, frame);
            return;
        }
        if (EndsAt<kDraw>(major, minorA, frame, colour, endA)) {
            endB = March<kDecreasing, kDraw>(major, minorB, stepB, frame, colour);
            return;
        }
        if (EndsAt<kDraw>(major, minorB, frame, colour, endB)) {
            endA = March<kDecreasing, kDraw>(major + kMajorStep, minorA + stepA, stepA, frame, colour);
            return;
        }
        major += kMajorStep;
        minorA += stepA;
        minorB += stepB;
    }
}

// A beam set up in the frame of its marching case.
struct Beam {
    bool alongX;
    bool decreasing;
    double major, minor, minorStep;
};

Beam StartBeam(double direction, double originX, double originY, double startOffset)
{
    const double c = std::cos(direction);
    const double s = std::sin(direction);
    if (c <= -kHalfSqrt2 || c >= kHalfSqrt2) {
        const double t = std::tan(direction);
        const bool decreasing = c <= -kHalfSqrt2;
        const double x = decreasing ? originX - startOffset : originX + startOffset;
        return {true, decreasing, x, originY + t * (x - originX), decreasing ? -t : t};
    }
    // Within a rounding error of an odd multiple of 45 degrees neither cosine nor sine
    // may reach the threshold; such a beam marches along y, on the side of its sine.
    const double r = 1 / (std::tan(direction) + 1e-24);
    const bool decreasing = s < 0;
    const double y = decreasing ? originY - startOffset : originY + startOffset;
    return {false, decreasing, y, originX + r * (y - originY), decreasing ? -r : r};
}

// Everything the beams cast from one origin share.
class BeamCaster {
public:
    BeamCaster(RobotSimulation& sim, double originX, double originY)
        : originX_(originX),
          originY_(originY),
          correction_(0.7 * sim.wheelBase),
          // A beam from outside the picture ends where it starts: marching it would read
          // bytes that are not the arena.
          originInside_(sim.IsInsideImage(originX, originY)),
          alongX_{static_cast<double>(sim.width), static_cast<double>(sim.height), 3, sim.arena.step,
                  sim.arena.data, sim.canvas.data},
          alongY_{static_cast<double>(sim.height), static_cast<double>(sim.width), sim.arena.step, 3,
                  sim.arena.data, sim.canvas.data}
    {
    }

    double Cast(double direction, const cv::Vec3b& colour, bool draw) const
    {
        if (!CanMarch(direction)) return AtOrigin();
        const Beam beam = StartBeam(direction, originX_, originY_, correction_ + 1);
        const MarchFrame& frame = FrameOf(beam);
        BeamEnd end;
        if (beam.decreasing)
            end = draw ? March<true, true>(beam.major, beam.minor, beam.minorStep, frame, colour)
                       : March<true, false>(beam.major, beam.minor, beam.minorStep, frame, colour);
        else
            end = draw ? March<false, true>(beam.major, beam.minor, beam.minorStep, frame, colour)
                       : March<false, false>(beam.major, beam.minor, beam.minorStep, frame, colour);
        return FreeDistance(beam, end);
    }

    // Two beams of one colour, which may therefore paint in any order between them.
    void CastTwo(double directionA, double directionB, const cv::Vec3b& colour, bool draw, double& distanceA,
                 double& distanceB) const
    {
        if (!CanMarch(directionA) || !CanMarch(directionB)) {
            distanceA = Cast(directionA, colour, draw);
            distanceB = Cast(directionB, colour, draw);
            return;
        }
        const double startOffset = correction_ + 1;
        const Beam a = StartBeam(directionA, originX_, originY_, startOffset);
        const Beam b = StartBeam(directionB, originX_, originY_, startOffset);
        if (a.alongX != b.alongX || a.decreasing != b.decreasing) {
            distanceA = Cast(directionA, colour, draw);
            distanceB = Cast(directionB, colour, draw);
            return;
        }
        const MarchFrame& frame = FrameOf(a);
        BeamEnd endA, endB;
        const auto march = a.decreasing ? (draw ? MarchPair<true, true> : MarchPair<true, false>)
                                        : (draw ? MarchPair<false, true> : MarchPair<false, false>);
        march(a.major, a.minor, a.minorStep, b.minor, b.minorStep, frame, colour, endA, endB);
        distanceA = FreeDistance(a, endA);
        distanceB = FreeDistance(b, endB);
    }

private:
    bool CanMarch(double direction) const { return originInside_ && std::isfinite(direction); }
    double AtOrigin() const { return 0.0 - correction_; }
    const MarchFrame& FrameOf(const Beam& beam) const { return beam.alongX ? alongX_ : alongY_; }

    double FreeDistance(const Beam& beam, BeamEnd end) const
    {
        const double x = beam.alongX ? end.major : end.minor;
        const double y = beam.alongX ? end.minor : end.major;
        const double dx = x - originX_;
        const double dy = y - originY_;
        return std::sqrt(dx * dx + dy * dy) - correction_;
    }

    double originX_, originY_;
    double correction_;
    bool originInside_;
    MarchFrame alongX_, alongY_;
};

}  // namespace

double RobotSimulation::CastRay(double direction, double originX, double originY, const cv::Vec3b& colour,
                                bool draw)
{
    return BeamCaster(*this, originX, originY).Cast(direction, colour, draw);
}

void RobotSimulation::Sense(bool draw)
{
    const BeamCaster caster(*this, centerX, centerY);
    const double offsetStep = kPi / (3 * raysPerSector);
    for (const Sweep& sweep : kSweeps) {
        double shortest = width + height;
        double bestOffset = sweep.lowerBound;
        const auto consider = [&](double d, double offset) {
            // Considered in casting order, so on equal distances the lowest offset wins.
            if (d < shortest) {
                shortest = d;
                bestOffset = offset;
            }
        };
        double offset = sweep.lowerBound;
        bool more = true;
        const auto takeOffset = [&] {
            const double taken = offset;
            const double next = offset + offsetStep;
            // A beam count that is not positive, or so large that the step vanishes
            // against the offset, would never reach the sector's end: stop there.
            more = next > offset && next < sweep.upperBound;
            offset = next;
            return taken;
        };
        while (more) {
            const double first = takeOffset();
            if (!more) {
                consider(caster.Cast(heading + first, sweep.beamColour, draw), first);
                break;
            }
            const double second = takeOffset();
            double firstDistance, secondDistance;
            caster.CastTwo(heading + first, heading + second, sweep.beamColour, draw, firstDistance, secondDistance);
            consider(firstDistance, first);
            consider(secondDistance, second);
        }
        sectorDistance[sweep.slot] = shortest;
        caster.Cast(heading + bestOffset, sweep.highlightColour, draw);
    }
}
