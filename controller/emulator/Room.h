#pragma once
#include <vector>

// The emulated robot's room: a rectangle with walls all round (origin at the lower-left
// corner, millimetres, angles counter-clockwise) and the furniture standing in it. It
// answers the two questions the body asks: how far a ray goes before it meets something,
// and which surfaces are near a point. Plain geometry, no clock and no thread, so that
// anything may step a body through it at its own pace.
namespace emulator {

// A box standing on the floor (a sofa, a table top seen from below, a cupboard), centred
// at x, y, `widthMm` along its own x axis, turned by `angleDeg`.
struct Box {
    double xMm = 0;
    double yMm = 0;
    double widthMm = 0;
    double depthMm = 0;
    double angleDeg = 0;
};

// A round leg (a chair's, a table's) standing at x, y.
struct Cylinder {
    double xMm = 0;
    double yMm = 0;
    double radiusMm = 0;
};

struct Furniture {
    std::vector<Box> boxes;
    std::vector<Cylinder> cylinders;
};

// One surface near a point: a wall or a piece of furniture.
struct NearSurface {
    // Signed: from the point to the surface, negative when the point is inside the piece
    // (or beyond the wall) by that much.
    double gapMm;
    // Towards the surface: to its nearest point from outside; from inside, the way into
    // the piece, so that moving against it always leads out by the shortest way.
    double directionRad;
};

class Room {
public:
    Room(double widthMm, double depthMm, Furniture furniture = {});

    double WidthMm() const { return width_; }
    double DepthMm() const { return depth_; }
    const Furniture& Pieces() const { return furniture_; }
    bool HasFurniture() const { return !boxes_.empty() || !furniture_.cylinders.empty(); }

    // The pieces that may lie within `reachMm` of x, y: rays from there that go no
    // farther need test only those.
    struct Neighbourhood {
        std::vector<int> boxes;
        std::vector<int> cylinders;
    };
    void PiecesNear(double x, double y, double reachMm, Neighbourhood& near) const;
    // How far the ray from x, y along the unit vector dx, dy goes before it meets a wall
    // or one of the pieces `near` names; 0 when it starts inside one.
    double RayDistance(double x, double y, double dx, double dy, const Neighbourhood& near) const;
    // The walls and pieces whose surface is less than `reachMm` from x, y (inside ones
    // included), appended to `out`, walls first in the order left, right, bottom, top.
    void SurfacesNear(double x, double y, double reachMm, std::vector<NearSurface>& out) const;
    // Distance from x, y to the nearest wall or piece; negative inside one.
    double Clearance(double x, double y) const;

private:
    // A box as the geometry uses it: its turn taken once, and a circle that holds it all.
    struct PlacedBox {
        double x, y, halfWidth, halfDepth, cosine, sine, boundingRadius;
    };
    NearSurface BoxSurface(const PlacedBox& box, double x, double y) const;

    double width_;
    double depth_;
    Furniture furniture_;
    std::vector<PlacedBox> boxes_;
};

}  // namespace emulator
