#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "world/RobotSimulation.h"

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
    // Positions the beams have reached, each beam's counted apart: what a march costs.
    long long* positionsReached;
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
    BeamEnd end;
    long long positions = 1;
    for (;; ++positions) {
        if (PastMajorBound<kDecreasing>(major, frame)) {
            end = AtMajorBound<kDecreasing>(minor, frame);
            break;
        }
        if (EndsAt<kDraw>(major, minor, frame, colour, end)) break;
        major += kMajorStep;
        minor += minorStep;
    }
    // Painted frames are not measured: their march stays free of the count.
    if (!kDraw) *frame.positionsReached += positions;
    return end;
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
    long long positions = 0;
    for (;; positions += 2) {
        if (PastMajorBound<kDecreasing>(major, frame)) {
            endA = AtMajorBound<kDecreasing>(minorA, frame);
            endB = AtMajorBound<kDecreasing>(minorB, frame);
            positions += 2;
            break;
        }
        if (EndsAt<kDraw>(major, minorA, frame, colour, endA)) {
            endB = March<kDecreasing, kDraw>(major, minorB, stepB, frame, colour);
            positions += 1;
            break;
        }
        if (EndsAt<kDraw>(major, minorB, frame, colour, endB)) {
            endA = March<kDecreasing, kDraw>(major + kMajorStep, minorA + stepA, stepA, frame, colour);
            positions += 2;
            break;
        }
        major += kMajorStep;
        minorA += stepA;
        minorB += stepB;
    }
    if (!kDraw) *frame.positionsReached += positions;
}

// Which beam of a sweep: its place in casting order and its offset from the heading.
struct SweepBeam {
    int index;
    double offset;
};

// A sweep's shortest beam so far. On equal distances the beam cast first in the plain
// order, the lower offset, is the shortest, whatever order the beams are cast in.
struct Leader {
    double distance;
    SweepBeam beam;

    bool BeatenBy(double otherDistance, const SweepBeam& other) const
    {
        return otherDistance < distance || (otherDistance == distance && other.offset < beam.offset);
    }
};

// A beam of a sweep that paints nothing: only its distance counts, and only while it
// can still be below the sector's best so far. Its distance from the origin never
// shrinks along the march (each step moves both coordinates away from the origin, and
// rounding is monotonic), and its end lies no closer than the last position tested
// before it (a border clamp ends it between that position and the next): once a tested
// position is as far as the best, the beam can no longer win and stops there.
struct Contender {
    enum State { kMarching, kEnded, kBeaten };
    SweepBeam who;
    double minor, minorStep;
    // The step count at which its distance so far is next worth computing, so that
    // the march itself only compares integers.
    int checkpoint;
    State state = kMarching;
    BeamEnd end{};
};

template <bool kDecreasing>
inline bool EndsHere(double major, double minor, const MarchFrame& frame, BeamEnd& end)
{
    if (PastMajorBound<kDecreasing>(major, frame)) {
        end = AtMajorBound<kDecreasing>(minor, frame);
        return true;
    }
    return EndsAt<false>(major, minor, frame, cv::Vec3b(), end);
}

// How many of the positions from `at` on, `step` apart, lie inside (0, size) for sure,
// up to atMost: along that run a march need not test the edges. The margin covers every
// rounding of the sums that reach those positions: below 2^20 one addition rounds by at
// most 2^-33, and a run is never longer than kLongestRun = 2^16 additions.
constexpr int kLongestRun = 1 << 16;
constexpr double kRunMargin = 1e-3;

inline int StepsSurelyInside(double at, double step, double size, int atMost)
{
    const double low = kRunMargin, high = size - kRunMargin;
    if (atMost <= 0 || !(at > low && at < high && size < (1 << 20))) return 0;
    // The positions lie on a line: when the last is inside, so is every one between.
    const double last = at + (atMost - 1) * step;
    if (last > low && last < high) return atMost;
    const double steps = (step > 0 ? high - at : at - low) / std::fabs(step);
    return steps >= atMost ? atMost : steps >= 1 ? static_cast<int>(steps) : 0;
}

// Positions before the checkpoint that only an obstacle can end, for a beam at major
// after steps, its minor coordinates and steps given as {minor, step} pairs. Along the
// run the major pixel moves by exactly one a step, which spares truncating the major
// coordinate, unless its fraction lies within the margin of a whole pixel, where the
// sums' rounding could carry it across one: such a beam, about one in five hundred,
// is left to the careful march.
template <bool kDecreasing, class... MinorRuns>
int FreeRun(double major, int steps, int checkpoint, const MarchFrame& frame, const MinorRuns&... minors)
{
    int run =
        StepsSurelyInside(major, kDecreasing ? -1.0 : 1.0, frame.majorSize, std::min(checkpoint - steps, kLongestRun));
    if (run == 0) return 0;
    const double fraction = major - static_cast<int>(major);
    if (!(fraction > kRunMargin && fraction < 1 - kRunMargin)) return 0;
    ((run = StepsSurelyInside(minors.first, minors.second, frame.minorSize, run)), ...);
    return run;
}

// The line of pixels a free run is on, moved one pixel a step. Unsigned offsets, which
// may wrap one step past the picture after the run's last position without being read.
class MajorLine {
public:
    MajorLine(double major, const MarchFrame& frame, bool decreasing)
        : m_offset(static_cast<size_t>(static_cast<int>(major)) * frame.majorBytes),
          m_step(decreasing ? 0 - frame.majorBytes : frame.majorBytes)
    {
    }

    bool IsObstacle(int minorPixel, const MarchFrame& frame) const
    {
        // Inside a run the pixel is never negative: widening it unsigned costs nothing.
        return frame.obstacles[m_offset + static_cast<unsigned>(minorPixel) * frame.minorBytes] != 255;
    }

    bool HitsObstacle(double major, double minor, const MarchFrame& frame, BeamEnd& end) const
    {
        if (!IsObstacle(static_cast<int>(minor), frame)) return false;
        end = {major, minor};
        return true;
    }

    void Next() { m_offset += m_step; }

private:
    size_t m_offset;
    size_t m_step;
};

// Marches one beam over its free run, where only an obstacle can end it; returns the
// steps taken.
template <bool kDecreasing>
int MarchThroughFreeRun(int run, double& major, Contender& beam, const MarchFrame& frame)
{
    constexpr double kMajorStep = kDecreasing ? -1.0 : 1.0;
    double at = major, minor = beam.minor;
    MajorLine line(at, frame, kDecreasing);
    int taken = 0;
    for (; taken < run; ++taken) {
        if (line.HitsObstacle(at, minor, frame, beam.end)) {
            beam.state = Contender::kEnded;
            break;
        }
        line.Next();
        at += kMajorStep;
        minor += beam.minorStep;
    }
    major = at;
    beam.minor = minor;
    *frame.positionsReached += taken + (beam.state == Contender::kEnded);
    return taken;
}

// Marches until the beam ends or reaches its checkpoint on a position tested free.
// Marching on from there tests that position once more, which changes nothing.
template <bool kDecreasing>
void MarchToCheckpoint(double& majorAt, int& stepsAt, Contender& beam, const MarchFrame& frame)
{
    constexpr double kMajorStep = kDecreasing ? -1.0 : 1.0;
    const int run =
        FreeRun<kDecreasing>(majorAt, stepsAt, beam.checkpoint, frame, std::pair(beam.minor, beam.minorStep));
    stepsAt += MarchThroughFreeRun<kDecreasing>(run, majorAt, beam, frame);
    // Local copies stay in registers; the obstacle bytes could otherwise alias them.
    double major = majorAt, minor = beam.minor;
    int steps = stepsAt;
    long long positions = 0;
    while (beam.state == Contender::kMarching) {
        ++positions;
        if (EndsHere<kDecreasing>(major, minor, frame, beam.end)) {
            beam.state = Contender::kEnded;
            break;
        }
        if (steps >= beam.checkpoint) break;
        major += kMajorStep;
        minor += beam.minorStep;
        ++steps;
    }
    majorAt = major;
    beam.minor = minor;
    stepsAt = steps;
    *frame.positionsReached += positions;
}

// Both minor coordinates of a pair in one vector: each lane adds and truncates exactly
// as the one-beam march does, one instruction doing it for both.
using MinorPair = double __attribute__((vector_size(16)));
using ColumnPair = int __attribute__((vector_size(8)));

// Marches two beams of one case over their common free run; returns the steps taken.
template <bool kDecreasing>
int MarchPairThroughFreeRun(int run, double& major, Contender& a, Contender& b, const MarchFrame& frame)
{
    constexpr double kMajorStep = kDecreasing ? -1.0 : 1.0;
    double at = major;
    MinorPair minors{a.minor, b.minor};
    const MinorPair minorSteps{a.minorStep, b.minorStep};
    MajorLine line(at, frame, kDecreasing);
    int taken = 0;
    for (; taken < run; ++taken) {
        const ColumnPair columns = __builtin_convertvector(minors, ColumnPair);
        if (line.IsObstacle(columns[0], frame)) {
            a.end = {at, minors[0]};
            a.state = Contender::kEnded;
            break;
        }
        if (line.IsObstacle(columns[1], frame)) {
            b.end = {at, minors[1]};
            b.state = Contender::kEnded;
            break;
        }
        line.Next();
        at += kMajorStep;
        minors += minorSteps;
    }
    major = at;
    a.minor = minors[0];
    b.minor = minors[1];
    *frame.positionsReached += 2 * taken + (a.state == Contender::kEnded) + (b.state == Contender::kEnded);
    return taken;
}

// Two contenders of one case side by side, as MarchPair does, until either ends or
// either reaches its checkpoint.
template <bool kDecreasing>
void MarchPairToCheckpoint(double& majorAt, int& stepsAt, Contender& a, Contender& b, const MarchFrame& frame)
{
    constexpr double kMajorStep = kDecreasing ? -1.0 : 1.0;
    const int checkpoint = std::min(a.checkpoint, b.checkpoint);
    const int run = FreeRun<kDecreasing>(majorAt, stepsAt, checkpoint, frame, std::pair(a.minor, a.minorStep),
                                         std::pair(b.minor, b.minorStep));
    stepsAt += MarchPairThroughFreeRun<kDecreasing>(run, majorAt, a, b, frame);
    double major = majorAt, minorA = a.minor, minorB = b.minor;
    const double stepA = a.minorStep, stepB = b.minorStep;
    int steps = stepsAt;
    long long positions = 0;
    while (a.state == Contender::kMarching && b.state == Contender::kMarching) {
        positions += 2;
        if (PastMajorBound<kDecreasing>(major, frame)) {
            a.end = AtMajorBound<kDecreasing>(minorA, frame);
            b.end = AtMajorBound<kDecreasing>(minorB, frame);
            a.state = b.state = Contender::kEnded;
            break;
        }
        if (EndsAt<false>(major, minorA, frame, cv::Vec3b(), a.end)) {
            a.state = Contender::kEnded;
            break;
        }
        if (EndsAt<false>(major, minorB, frame, cv::Vec3b(), b.end)) {
            b.state = Contender::kEnded;
            break;
        }
        if (steps >= checkpoint) break;
        major += kMajorStep;
        minorA += stepA;
        minorB += stepB;
        ++steps;
    }
    majorAt = major;
    a.minor = minorA;
    b.minor = minorB;
    stepsAt = steps;
    *frame.positionsReached += positions;
}

// A beam set up in the frame of its marching case.
struct Beam {
    bool alongX;
    bool decreasing;
    double major, minor, minorStep;
};

struct MarchingCase {
    bool alongX;
    bool decreasing;
};

MarchingCase CaseOf(double direction)
{
    const double c = std::cos(direction);
    if (c <= -kHalfSqrt2 || c >= kHalfSqrt2) return {true, c <= -kHalfSqrt2};
    // Within a rounding error of an odd multiple of 45 degrees neither cosine nor sine
    // may reach the threshold; such a beam marches along y, on the side of its sine.
    return {false, std::sin(direction) < 0};
}

// The same case without a cosine or a sine, which cost as much as a short beam's
// march, for directions no rounding can move across a case boundary: those more than
// 1e-9 rad from every odd multiple of 45 degrees (the tests above flip within about
// 1e-16 rad of it, and the turn taken out below is exact to better than 1e-10 rad for
// directions below 1e5 rad). Any other direction takes the test above.
MarchingCase QuickCaseOf(double direction)
{
    constexpr double kTwoPi = 6.283185307179586;
    constexpr double kQuarterPi = 0.7853981633974483;
    constexpr double kMargin = 1e-9;
    if (!(std::fabs(direction) < 1e5)) return CaseOf(direction);
    const double turns = direction * (1 / kTwoPi);
    const double wholeTurns = static_cast<double>(static_cast<long long>(turns < 0 ? turns - 0.5 : turns + 0.5));
    const double withinHalfTurn = direction - kTwoPi * wholeTurns;
    const double away = std::fabs(withinHalfTurn);
    if (away < kQuarterPi - kMargin) return {true, false};
    if (away > 3 * kQuarterPi + kMargin) return {true, true};
    if (away > kQuarterPi + kMargin && away < 3 * kQuarterPi - kMargin) return {false, withinHalfTurn < 0};
    return CaseOf(direction);
}

Beam StartBeam(double direction, MarchingCase marching, double originX, double originY, double startOffset)
{
    const bool decreasing = marching.decreasing;
    if (marching.alongX) {
        const double t = std::tan(direction);
        const double x = decreasing ? originX - startOffset : originX + startOffset;
        return {true, decreasing, x, originY + t * (x - originX), decreasing ? -t : t};
    }
    const double r = 1 / (std::tan(direction) + 1e-24);
    const double y = decreasing ? originY - startOffset : originY + startOffset;
    return {false, decreasing, y, originX + r * (y - originY), decreasing ? -r : r};
}

// A beam cannot see the stretch the robot's own body covers: it starts one pixel past
// 0.7 wheel bases from the centre (11.5 pixels for a wheel base of 15) along its major
// axis, and its free distance is measured from that blind stretch's end, not from the
// start, so a beam stopped at its first position reads 1 pixel rather than 0.
constexpr double kBlindStretchPerWheelBase = 0.7;
constexpr int kFirstPixelPastBlindStretch = 1;

// Everything the beams cast from one origin share.
class BeamCaster {
public:
    BeamCaster(RobotSimulation& sim, double originX, double originY)
        : m_originX(originX), m_originY(originY), m_correction(kBlindStretchPerWheelBase * sim.wheelBase),
          // A beam from outside the picture ends where it starts: marching it would read
          // bytes that are not the arena.
          m_originInside(sim.IsInsideImage(originX, originY)), m_alongX{static_cast<double>(sim.width),
                                                                        static_cast<double>(sim.height),
                                                                        3,
                                                                        sim.arena.step,
                                                                        sim.arena.data,
                                                                        sim.canvas.data,
                                                                        &sim.beamPositionsReached},
          m_alongY{static_cast<double>(sim.height),
                   static_cast<double>(sim.width),
                   sim.arena.step,
                   3,
                   sim.arena.data,
                   sim.canvas.data,
                   &sim.beamPositionsReached}
    {
    }

    double Cast(double direction, const cv::Vec3b& colour, bool draw) const
    {
        if (!CanMarch(direction)) return AtOrigin();
        const Beam beam = StartBeam(direction, CaseOf(direction), m_originX, m_originY, StartOffset());
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
        const double startOffset = StartOffset();
        const Beam a = StartBeam(directionA, CaseOf(directionA), m_originX, m_originY, startOffset);
        const Beam b = StartBeam(directionB, CaseOf(directionB), m_originX, m_originY, startOffset);
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

    // Casts one beam of a sweep and makes it the leader if it beats it, marching it only
    // as long as it still can.
    void Race(double heading, const SweepBeam& who, Leader& leader) const
    {
        const double direction = heading + who.offset;
        if (!CanMarch(direction)) {
            if (leader.BeatenBy(AtOrigin(), who)) leader = {AtOrigin(), who};
            return;
        }
        const Beam beam = StartBeam(direction, QuickCaseOf(direction), m_originX, m_originY, StartOffset());
        Contender contender = Enter(beam, who, leader);
        double major = beam.major;
        int steps = 0;
        RaceAlone(beam, major, steps, contender, leader);
        Settle(beam, contender, leader);
    }

    // The same for two beams, side by side when they share a marching case. Both are
    // judged against the leader from before either, which the first may still beat:
    // the second then marches a little further than it needs, never less.
    void RaceTwo(double heading, const SweepBeam& whoA, const SweepBeam& whoB, Leader& leader) const
    {
        const double directionA = heading + whoA.offset;
        const double directionB = heading + whoB.offset;
        const double startOffset = StartOffset();
        if (!CanMarch(directionA) || !CanMarch(directionB)) {
            Race(heading, whoA, leader);
            Race(heading, whoB, leader);
            return;
        }
        const Beam a = StartBeam(directionA, QuickCaseOf(directionA), m_originX, m_originY, startOffset);
        const Beam b = StartBeam(directionB, QuickCaseOf(directionB), m_originX, m_originY, startOffset);
        if (a.alongX != b.alongX || a.decreasing != b.decreasing) {
            Race(heading, whoA, leader);
            Race(heading, whoB, leader);
            return;
        }
        const MarchFrame& frame = FrameOf(a);
        Contender contenderA = Enter(a, whoA, leader);
        Contender contenderB = Enter(b, whoB, leader);
        double major = a.major;
        int steps = 0;
        while (contenderA.state == Contender::kMarching && contenderB.state == Contender::kMarching) {
            if (a.decreasing)
                MarchPairToCheckpoint<true>(major, steps, contenderA, contenderB, frame);
            else
                MarchPairToCheckpoint<false>(major, steps, contenderA, contenderB, frame);
            // Only a checkpoint stop leaves both on a tested position; after an end the
            // other one may not have tested it yet, and its lone march does that first.
            if (contenderA.state == Contender::kMarching && contenderB.state == Contender::kMarching) {
                Judge(a, major, steps, contenderA, leader);
                Judge(b, major, steps, contenderB, leader);
            }
        }
        if (contenderA.state == Contender::kMarching) RaceAlone(a, major, steps, contenderA, leader);
        if (contenderB.state == Contender::kMarching) RaceAlone(b, major, steps, contenderB, leader);
        Settle(a, contenderA, leader);
        Settle(b, contenderB, leader);
    }

    // The stretch of a beam that, proved free, makes it surely longer than `distance`.
    // Its end then lies past the stretch on an obstacle or an edge, except that an
    // edge's clamp can end it nearer than the position that crossed the edge, though
    // never nearer than the position before, at most a diagonal step back: near the
    // edges the stretch is a diagonal longer. The first position tested has no position
    // before it, so the stretch always reaches past it.
    RayStretch StretchPast(double distance) const
    {
        constexpr double kDiagonal = 1.4142135623730951;
        constexpr double kStray = BeamClearance::kStray;
        const double to = std::max(distance + m_correction, kDiagonal * StartOffset()) + 2 * kStray;
        return {StartOffset(), to, kDiagonal + 4 * kStray, to + kDiagonal};
    }

    // A fan of the beams of one sweep, cast from this origin.
    RayFan Fan(double cosHeading, double sinHeading, const std::vector<double>& cosines,
               const std::vector<double>& sines) const
    {
        return {m_originX,
                m_originY,
                cosHeading,
                sinHeading,
                cosines.data(),
                sines.data(),
                static_cast<int>(cosines.size())};
    }

    bool CanDismiss() const { return m_originInside; }

private:
    Contender Enter(const Beam& beam, const SweepBeam& who, const Leader& leader) const
    {
        // After n steps the beam has covered about start offset + n pixels along its
        // major axis, that times sqrt(1 + slope^2) along itself; with |slope| <= 1 the
        // chord 1 + (sqrt 2 - 1) slope^2 stands in for that root, a little short of it.
        // A checkpoint too early costs one more distance computed, too late a step or
        // two marched: never a wrong stop, which only the distance itself decides.
        constexpr double kNever = 1 << 30;
        const double along = 1 + 0.41421356237309515 * (beam.minorStep * beam.minorStep);
        const double steps = (leader.distance + m_correction) / along - StartOffset();
        const int checkpoint = !(steps > 0)      ? 0
                               : steps >= kNever ? static_cast<int>(kNever)
                                                 : static_cast<int>(steps) + 1;
        return {who, beam.minor, beam.minorStep, checkpoint};
    }

    void RaceAlone(const Beam& beam, double& major, int& steps, Contender& contender, const Leader& leader) const
    {
        const MarchFrame& frame = FrameOf(beam);
        while (contender.state == Contender::kMarching) {
            if (beam.decreasing)
                MarchToCheckpoint<true>(major, steps, contender, frame);
            else
                MarchToCheckpoint<false>(major, steps, contender, frame);
            Judge(beam, major, steps, contender, leader);
        }
    }

    // At its checkpoint, on a position tested free: the beam's distance can only grow
    // from here, so when this one does not beat the leader no later one will. Else it
    // is looked at again one step later.
    void Judge(const Beam& beam, double major, int steps, Contender& contender, const Leader& leader) const
    {
        if (contender.state != Contender::kMarching || steps < contender.checkpoint) return;
        if (leader.BeatenBy(FreeDistance(beam, {major, contender.minor}), contender.who))
            contender.checkpoint = steps + 1;
        else
            contender.state = Contender::kBeaten;
    }

    void Settle(const Beam& beam, const Contender& contender, Leader& leader) const
    {
        if (contender.state != Contender::kEnded) return;
        const double distance = FreeDistance(beam, contender.end);
        if (leader.BeatenBy(distance, contender.who)) leader = {distance, contender.who};
    }

    bool CanMarch(double direction) const { return m_originInside && std::isfinite(direction); }
    double AtOrigin() const { return 0.0 - m_correction; }
    double StartOffset() const { return m_correction + kFirstPixelPastBlindStretch; }
    const MarchFrame& FrameOf(const Beam& beam) const { return beam.alongX ? m_alongX : m_alongY; }

    double FreeDistance(const Beam& beam, BeamEnd end) const
    {
        const double x = beam.alongX ? end.major : end.minor;
        const double y = beam.alongX ? end.minor : end.major;
        const double dx = x - m_originX;
        const double dy = y - m_originY;
        return std::sqrt(dx * dx + dy * dy) - m_correction;
    }

    double m_originX, m_originY;
    double m_correction;
    bool m_originInside;
    MarchFrame m_alongX, m_alongY;
};

// A sweep's beams in casting order, their offsets accumulated as the sweep adds them.
class SweepBeams {
public:
    SweepBeams(const Sweep& sweep, double raysPerSector)
        : m_step(kPi / (3 * raysPerSector)), m_upperBound(sweep.upperBound), m_next{0, sweep.lowerBound}
    {
    }

    // The next beam, or false after the last. The first beam is always cast.
    bool Next(SweepBeam& beam)
    {
        if (!m_more) return false;
        beam = m_next;
        const double offset = m_next.offset + m_step;
        // A beam count that is not positive, or so large that the step vanishes
        // against the offset, would never reach the sector's end: stop there.
        m_more = offset > m_next.offset && offset < m_upperBound;
        m_next = {m_next.index + 1, offset};
        return true;
    }

    // The beam at that place in casting order; false when the sweep has none there.
    static bool Find(const Sweep& sweep, double raysPerSector, int index, SweepBeam& found)
    {
        SweepBeams beams(sweep, raysPerSector);
        while (beams.Next(found))
            if (found.index == index) return true;
        return false;
    }

private:
    double m_step;
    double m_upperBound;
    SweepBeam m_next;
    bool m_more = true;
};

// Hands a sweep's beams, in casting order and leaving out those skip says, two at a
// time to castTwo and a last odd one to castOne.
template <class Skip, class CastOne, class CastTwo>
void ForEachPairOfBeams(SweepBeams beams, Skip skip, CastOne castOne, CastTwo castTwo)
{
    SweepBeam waiting{}, beam;
    bool isWaiting = false;
    while (beams.Next(beam)) {
        if (skip(beam)) continue;
        if (isWaiting)
            castTwo(waiting, beam);
        else
            waiting = beam;
        isWaiting = !isWaiting;
    }
    if (isWaiting) castOne(waiting);
}

// Sweeps of more beams than this dismiss none: their turns would cost more memory than
// their marches cost time.
constexpr int kMostTurnedBeams = 1024;

void MakeOffsetTurns(OffsetTurns& turns, double raysPerSector)
{
    turns.raysPerSector = raysPerSector;
    for (int s = 0; s < 3; ++s) {
        turns.cosines[s].clear();
        turns.sines[s].clear();
        SweepBeams beams(kSweeps[s], raysPerSector);
        SweepBeam beam;
        while (beams.Next(beam)) {
            if (beam.index == kMostTurnedBeams) {
                for (int t = 0; t < 3; ++t) turns.cosines[t].clear(), turns.sines[t].clear();
                return;
            }
            turns.cosines[s].push_back(std::cos(beam.offset));
            turns.sines[s].push_back(std::sin(beam.offset));
        }
    }
}

}  // namespace

double RobotSimulation::CastRay(double direction, double originX, double originY, const cv::Vec3b& colour, bool draw)
{
    return BeamCaster(*this, originX, originY).Cast(direction, colour, draw);
}

void RobotSimulation::Sense(bool draw)
{
    if (draw) {
        SenseEveryBeamToItsEnd(true);
        return;
    }
    // Nothing is painted, so only each sector's shortest distance matters: a beam stops
    // once it can no longer be the shortest, and the highlight beams are not cast. The
    // last pass's shortest beam goes first: the robot has barely moved, so it is most
    // likely still the shortest, and every other beam can stop at its length. Beams the
    // clearance proves longer than that are not cast at all.
    const BeamCaster caster(*this, centerX, centerY);
    if (offsetTurns.raysPerSector != raysPerSector) MakeOffsetTurns(offsetTurns, raysPerSector);
    // Beyond this heading the rounding of a beam's direction strays further from its
    // ideal ray than the clearance allows for.
    constexpr double kLargestDismissingHeading = 1e6;
    const bool dismiss = !beamClearance.Empty() && !offsetTurns.cosines[0].empty() && caster.CanDismiss() &&
                         std::fabs(heading) < kLargestDismissingHeading;
    const double cosHeading = dismiss ? std::cos(heading) : 0, sinHeading = dismiss ? std::sin(heading) : 0;
    unsigned char surelyLonger[kMostTurnedBeams];
    for (const Sweep& sweep : kSweeps) {
        const int s = static_cast<int>(&sweep - kSweeps);
        int& shortest = shortestBeam[sweep.slot];
        Leader leader{static_cast<double>(width + height), {0, sweep.lowerBound}};
        SweepBeam first;
        const bool hinted = SweepBeams::Find(sweep, raysPerSector, shortest, first);
        if (hinted) caster.Race(heading, first, leader);
        if (dismiss)
            beamClearance.MarkSurelyFree(
                caster.Fan(cosHeading, sinHeading, offsetTurns.cosines[s], offsetTurns.sines[s]),
                caster.StretchPast(leader.distance), surelyLonger);
        const int skipped = hinted ? first.index : -1;
        const auto skip = [&](const SweepBeam& beam) {
            return beam.index == skipped || (dismiss && surelyLonger[beam.index]);
        };
        const auto race = [&](const SweepBeam& beam) { caster.Race(heading, beam, leader); };
        if (beamVectors == BeamVectors::kSse2) {
            ForEachPairOfBeams(SweepBeams(sweep, raysPerSector), skip, race,
                               [&](const SweepBeam& a, const SweepBeam& b) { caster.RaceTwo(heading, a, b, leader); });
        } else {
            SweepBeams beams(sweep, raysPerSector);
            SweepBeam beam;
            while (beams.Next(beam))
                if (!skip(beam)) race(beam);
        }
        sectorDistance[sweep.slot] = leader.distance;
        shortest = leader.beam.index;
    }
}

void RobotSimulation::SenseEveryBeamToItsEnd(bool draw)
{
    const BeamCaster caster(*this, centerX, centerY);
    for (const Sweep& sweep : kSweeps) {
        Leader leader{static_cast<double>(width + height), {0, sweep.lowerBound}};
        // Considered in casting order, so on equal distances the lowest offset wins.
        const auto consider = [&](double d, const SweepBeam& beam) {
            if (leader.BeatenBy(d, beam)) leader = {d, beam};
        };
        ForEachPairOfBeams(
            SweepBeams(sweep, raysPerSector), [](const SweepBeam&) { return false; },
            [&](const SweepBeam& beam) { consider(caster.Cast(heading + beam.offset, sweep.beamColour, draw), beam); },
            [&](const SweepBeam& a, const SweepBeam& b) {
                double distanceA, distanceB;
                caster.CastTwo(heading + a.offset, heading + b.offset, sweep.beamColour, draw, distanceA, distanceB);
                consider(distanceA, a);
                consider(distanceB, b);
            });
        sectorDistance[sweep.slot] = leader.distance;
        shortestBeam[sweep.slot] = leader.beam.index;
        caster.Cast(heading + leader.beam.offset, sweep.highlightColour, draw);
    }
}
