#include "world/BeamClearance.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>

void BeamClearance::Build(const cv::Mat& arena)
{
    cv::Mat blue;
    cv::extractChannel(arena, blue, 0);
    cv::Mat free;
    cv::compare(blue, 255, free, cv::CMP_EQ);
    // A frame of obstacle pixels all round stands for the edge: a beam ends on reaching
    // 0 or the picture's size, the edges of those pixels.
    cv::Mat framed;
    cv::copyMakeBorder(free, framed, 1, 1, 1, 1, cv::BORDER_CONSTANT, cv::Scalar(0));
    cv::Mat centres;
    cv::distanceTransform(framed, centres, cv::DIST_L2, cv::DIST_MASK_PRECISE, CV_32F);
    // Two unit squares whose centres are d apart have no points closer than d - sqrt 2.
    // The transform's single precision is good to about 1e-4 pixel here; the margin
    // covers it ten times over.
    constexpr double kSquaresApart = 1.4142135623730951 + 1e-3;
    cv::subtract(centres, cv::Scalar(kSquaresApart), m_map);
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
