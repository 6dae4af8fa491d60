#include "world/BeamClearance.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <opencv2/imgproc.hpp>

namespace {

// Chamfer weights of a step along an axis, a diagonal step and a knight's step: the
// least weight of a path of such steps from (0, 0) to (dx, dy), dx >= dy >= 0, is
// 5 dx + dy up to dy = dx / 2 and 4 dx + 3 dy beyond, at most 5 * 1.0198039 times the
// Euclidean length (at dy = dx / 5) and never less than 0.98 times it.
constexpr std::int16_t kAxial = 5, kDiagonal = 7, kKnight = 11;
constexpr double kWeightPerPixel = 5 * 1.0198040;  // 1.01980390... rounded up
// Further than any weight a picture of less than 4000 pixels a side can hold.
constexpr std::int16_t kFar = 30000;
constexpr int kLargestSide = 4000;

using Weight = std::int16_t;

// Eight weights in one SSE2 vector.
using Weights = Weight __attribute__((vector_size(16)));
constexpr int kWeightsAtOnce = 8;

Weights Load(const Weight* at)
{
    Weights w;
    std::memcpy(&w, at, sizeof w);
    return w;
}

Weights Least(Weights a, Weights b)
{
    return a < b ? a : b;
}

// What row `at` gets from the two rows before it in the scan: `near` one row away,
// `far` two, each one further along the scan to the left and right. Nothing in these
// depends on the row itself, so eight columns go at once.
void FromRowsBefore(Weight* at, const Weight* near, const Weight* far, int columns)
{
    const auto weigh = [&](int x) {
        Weights w = Load(at + x);
        w = Least(w, Load(near + x) + kAxial);
        w = Least(w, Least(Load(near + x - 1), Load(near + x + 1)) + kDiagonal);
        w = Least(w, Least(Least(Load(near + x - 2), Load(near + x + 2)), Least(Load(far + x - 1), Load(far + x + 1))) +
                         kKnight);
        std::memcpy(at + x, &w, sizeof w);
    };
    int x = 2;
    for (; x + kWeightsAtOnce <= columns - 2; x += kWeightsAtOnce) weigh(x);
    // The last columns again from the right, which changes none already done.
    if (x < columns - 2) weigh(columns - 2 - kWeightsAtOnce);
}

// Two raster passes give every pixel the least chamfer weight to a zero pixel. The
// frame of zeros, two pixels wide, means the passes never read outside the picture.
// Integers, so the passes are exact.
void ChamferFromZeros(cv::Mat& weights)
{
    const int rows = weights.rows, columns = weights.cols;
    for (int y = 2; y < rows - 2; ++y) {
        Weight* row = weights.ptr<Weight>(y);
        FromRowsBefore(row, weights.ptr<Weight>(y - 1), weights.ptr<Weight>(y - 2), columns);
        // Along the row each pixel depends on the one before: carried in a register.
        for (Weight carried = row[1], x = 2; x < columns - 2; ++x)
            row[x] = carried = std::min<Weight>(row[x], carried + kAxial);
    }
    for (int y = rows - 3; y >= 2; --y) {
        Weight* row = weights.ptr<Weight>(y);
        FromRowsBefore(row, weights.ptr<Weight>(y + 1), weights.ptr<Weight>(y + 2), columns);
        for (Weight carried = row[columns - 2], x = columns - 3; x >= 2; --x)
            row[x] = carried = std::min<Weight>(row[x], carried + kAxial);
    }
}

}  // namespace

void BeamClearance::Build(const cv::Mat& arena)
{
    if (arena.rows >= kLargestSide || arena.cols >= kLargestSide || arena.cols < kWeightsAtOnce) {
        Clear();
        return;
    }
    // Two frames of obstacle pixels all round: the inner one stands for the edge (a beam
    // ends on reaching 0 or the picture's size, the edges of those pixels), the outer
    // one keeps the knight's steps inside the weights. Nothing below writes the frames,
    // so the weights are kept from one arena to the next, as the map is: fresh pages
    // cost as much as the passes.
    const cv::Size framed(arena.cols + 4, arena.rows + 4);
    if (m_weights.size() != framed) m_weights = cv::Mat(framed, CV_16SC1, cv::Scalar(0));
    cv::extractChannel(arena, m_blue, 0);
    cv::compare(m_blue, 255, m_free, cv::CMP_EQ);
    cv::Mat inside = m_weights(cv::Rect(2, 2, arena.cols, arena.rows));
    m_free.convertTo(inside, CV_16S, kFar / 255.0);
    ChamferFromZeros(m_weights);
    // No point of a pixel is nearer to an obstacle pixel than their centres' distance
    // less sqrt 2 (a diagonal of each half pixel); the margin covers the rounding below.
    constexpr double kSquaresApart = 1.4142135623730951 + 1e-3;
    m_weights(cv::Rect(1, 1, arena.cols + 2, arena.rows + 2))
        .convertTo(m_map, CV_32F, 1 / kWeightPerPixel, -kSquaresApart);
    m_width = arena.cols;
    m_height = arena.rows;
    m_rowFloats = m_map.step1();
}

void BeamClearance::MarkSurelyFree(const RayFan& fan, const RayStretch& stretch, unsigned char* free) const
{
    // A leap shorter than this means an obstacle lies close to the ray: proving the
    // stretch past it would take more reads than marching.
    constexpr double kShortestLeap = 0.5;
    constexpr int kMostLeaps = 8;
    // Rays go four at a time, so that their reads overlap.
    constexpr int kLanes = 4;
    for (int first = 0; first < fan.count; first += kLanes) {
        double along[kLanes], ux[kLanes], uy[kLanes], to[kLanes];
        bool leaping[kLanes], proved[kLanes];
        for (int k = 0; k < kLanes; ++k) {
            const int i = std::min(first + k, fan.count - 1);
            ux[k] = fan.cosHeading * fan.cosines[i] - fan.sinHeading * fan.sines[i];
            uy[k] = fan.sinHeading * fan.cosines[i] + fan.cosHeading * fan.sines[i];
            const double x = fan.originX + stretch.to * ux[k], y = fan.originY + stretch.to * uy[k];
            const double edge = std::min(std::min(x, m_width - x), std::min(y, m_height - y));
            to[k] = edge > stretch.edgeMargin ? stretch.to : stretch.toNearEdges;
            along[k] = stretch.from;
            leaping[k] = true;
            proved[k] = false;
        }
        for (int leap = 0; leap < kMostLeaps; ++leap) {
            bool any = false;
            for (int k = 0; k < kLanes; ++k) {
                // Every point within the clearance of the leap's start is free, so every
                // point within kStray of the ray up to this far along is.
                const double reach = At(fan.originX + along[k] * ux[k], fan.originY + along[k] * uy[k]) - 2 * kStray;
                const bool leaps = leaping[k] && reach >= kShortestLeap;
                along[k] += leaps ? reach : 0.0;
                proved[k] = proved[k] || (leaps && along[k] >= to[k]);
                leaping[k] = leaps && !proved[k];
                any = any || leaping[k];
            }
            if (!any) break;
        }
        for (int k = 0; k < kLanes && first + k < fan.count; ++k) free[first + k] = proved[k];
    }
}
