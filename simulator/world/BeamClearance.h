#pragma once
#include <opencv2/core.hpp>

// Rays from one origin along the heading turned by each of a sweep's offsets, given by
// their cosines and sines.
struct RayFan {
    double originX, originY;
    double cosHeading, sinHeading;
    const double* cosines;
    const double* sines;
    int count;
};

// How much of each ray must be free floor: from `from` to `to` away from the origin, or
// to `toNearEdges` where the point at `to` lies within `edgeMargin` of the picture's edge.
struct RayStretch {
    double from, to;
    double edgeMargin, toNearEdges;
};

// For every pixel of the arena, a distance that no point of that pixel is within of an
// obstacle pixel or of the picture's edge. Leaping from clearance to clearance proves a
// stretch of a ray free in a few reads, whatever pixels a march along it would test.
class BeamClearance {
public:
    // From the arena's obstacles (blue byte not 255); the picture's edge counts as one.
    void Build(const cv::Mat& arena);
    // Forgets the map; nothing is proved free until it is built again.
    void Clear() { m_map.release(); }
    bool Empty() const { return m_map.empty(); }

    // The clearance of the pixel that holds (x, y); below 0 outside the picture or for
    // NaN. Free of branches, so that several rays' leaps can overlap.
    double At(double x, double y) const
    {
        const bool inside = x >= 0 && x < m_width && y >= 0 && y < m_height;
        // Outside, the frame's corner pixel, which is an obstacle.
        const int column = inside ? static_cast<int>(x) + 1 : 0;
        const int row = inside ? static_cast<int>(y) + 1 : 0;
        return m_map.ptr<float>()[static_cast<size_t>(row) * m_rowFloats + static_cast<size_t>(column)];
    }

    // Sets free[i] to 1 when every point within kStray of the fan's ray i, along the
    // stretch, is surely free floor inside the picture, else to 0.
    void MarkSurelyFree(const RayFan& fan, const RayStretch& stretch, unsigned char* free) const;

    // How far a point may lie from its ray and still be covered: far more than the
    // rounding of any march along a ray from a heading below 1e6 rad.
    static constexpr double kStray = 1e-3;

private:
    cv::Mat m_map;  // CV_32FC1, one pixel wider on every side than the arena
    // What the map is made from: chamfer weights in a frame two pixels wide, and the
    // arena's blue bytes and free pixels.
    cv::Mat m_weights, m_blue, m_free;
    double m_width = 0, m_height = 0;
    size_t m_rowFloats = 0;
};
