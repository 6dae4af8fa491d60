#include "Room.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace emulator {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Where the ray o + t u (t >= 0) enters the slab -half <= s <= half, narrowing [near, far].
void ClipToSlab(double origin, double direction, double half, double& near, double& far)
{
    if (std::abs(direction) < 1e-12) {
        if (std::abs(origin) > half) near = kInfinity;
        return;
    }
    const double t1 = (-half - origin) / direction;
    const double t2 = (half - origin) / direction;
    near = std::max(near, std::min(t1, t2));
    far = std::min(far, std::max(t1, t2));
}

double RayToCylinder(const Cylinder& leg, double x, double y, double dx, double dy)
{
    const double ox = x - leg.xMm;
    const double oy = y - leg.yMm;
    const double b = ox * dx + oy * dy;
    const double c = ox * ox + oy * oy - leg.radiusMm * leg.radiusMm;
    if (c <= 0) return 0;  // starts inside
    const double discriminant = b * b - c;
    if (discriminant < 0 || b > 0) return kInfinity;
    return -b - std::sqrt(discriminant);
}

}  // namespace

Room::Room(double widthMm, double depthMm, Furniture furniture)
    : width_(widthMm), depth_(depthMm), furniture_(std::move(furniture))
{
    for (const Box& box : furniture_.boxes) {
        const double angle = box.angleDeg * kDegree;
        boxes_.push_back(PlacedBox{box.xMm, box.yMm, box.widthMm / 2, box.depthMm / 2, std::cos(angle), std::sin(angle),
                                   std::hypot(box.widthMm, box.depthMm) / 2});
    }
}

void Room::PiecesNear(double x, double y, double reachMm, Neighbourhood& near) const
{
    near.boxes.clear();
    near.cylinders.clear();
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (std::hypot(x - boxes_[i].x, y - boxes_[i].y) - boxes_[i].boundingRadius < reachMm)
            near.boxes.push_back(static_cast<int>(i));
    const std::vector<Cylinder>& legs = furniture_.cylinders;
    for (std::size_t i = 0; i < legs.size(); ++i)
        if (std::hypot(x - legs[i].xMm, y - legs[i].yMm) - legs[i].radiusMm < reachMm)
            near.cylinders.push_back(static_cast<int>(i));
}

double Room::RayDistance(double x, double y, double dx, double dy, const Neighbourhood& near) const
{
    double distance = kInfinity;
    if (dx > 1e-9) distance = std::min(distance, (width_ - x) / dx);
    if (dx < -1e-9) distance = std::min(distance, -x / dx);
    if (dy > 1e-9) distance = std::min(distance, (depth_ - y) / dy);
    if (dy < -1e-9) distance = std::min(distance, -y / dy);
    distance = std::max(distance, 0.0);
    for (int i : near.boxes) {
        const PlacedBox& box = boxes_[static_cast<std::size_t>(i)];
        // The ray in the box's own frame, where the box is two slabs.
        const double ox = x - box.x;
        const double oy = y - box.y;
        const double lx = ox * box.cosine + oy * box.sine;
        const double ly = -ox * box.sine + oy * box.cosine;
        const double ux = dx * box.cosine + dy * box.sine;
        const double uy = -dx * box.sine + dy * box.cosine;
        double entry = 0;
        double exit = kInfinity;
        ClipToSlab(lx, ux, box.halfWidth, entry, exit);
        ClipToSlab(ly, uy, box.halfDepth, entry, exit);
        if (entry <= exit) distance = std::min(distance, entry);
    }
    for (int i : near.cylinders)
        distance = std::min(distance, RayToCylinder(furniture_.cylinders[static_cast<std::size_t>(i)], x, y, dx, dy));
    return distance;
}

NearSurface Room::BoxSurface(const PlacedBox& box, double x, double y) const
{
    const double ox = x - box.x;
    const double oy = y - box.y;
    const double lx = ox * box.cosine + oy * box.sine;
    const double ly = -ox * box.sine + oy * box.cosine;
    double towardX;
    double towardY;
    double gap;
    if (std::abs(lx) <= box.halfWidth && std::abs(ly) <= box.halfDepth) {
        // Inside: out through the nearest face, so "towards" is the way in from it.
        const double toSide = box.halfWidth - std::abs(lx);
        const double toEnd = box.halfDepth - std::abs(ly);
        gap = -std::min(toSide, toEnd);
        towardX = toSide <= toEnd ? (lx < 0 ? 1.0 : -1.0) : 0.0;
        towardY = toSide <= toEnd ? 0.0 : (ly < 0 ? 1.0 : -1.0);
    } else {
        towardX = std::clamp(lx, -box.halfWidth, box.halfWidth) - lx;
        towardY = std::clamp(ly, -box.halfDepth, box.halfDepth) - ly;
        gap = std::hypot(towardX, towardY);
    }
    // Back from the box's frame to the room's.
    const double worldX = towardX * box.cosine - towardY * box.sine;
    const double worldY = towardX * box.sine + towardY * box.cosine;
    return NearSurface{gap, std::atan2(worldY, worldX)};
}

void Room::SurfacesNear(double x, double y, double reachMm, std::vector<NearSurface>& out) const
{
    const NearSurface walls[] = {{x, 180 * kDegree}, {width_ - x, 0}, {y, 270 * kDegree}, {depth_ - y, 90 * kDegree}};
    for (const NearSurface& wall : walls)
        if (wall.gapMm < reachMm) out.push_back(wall);
    for (const PlacedBox& box : boxes_) {
        if (std::hypot(x - box.x, y - box.y) - box.boundingRadius >= reachMm) continue;
        const NearSurface surface = BoxSurface(box, x, y);
        if (surface.gapMm < reachMm) out.push_back(surface);
    }
    for (const Cylinder& leg : furniture_.cylinders) {
        const double centreDistance = std::hypot(leg.xMm - x, leg.yMm - y);
        const double gap = centreDistance - leg.radiusMm;
        if (gap < reachMm) out.push_back(NearSurface{gap, std::atan2(leg.yMm - y, leg.xMm - x)});
    }
}

double Room::Clearance(double x, double y) const
{
    double clearance = std::min({x, width_ - x, y, depth_ - y});
    for (const PlacedBox& box : boxes_) clearance = std::min(clearance, BoxSurface(box, x, y).gapMm);
    for (const Cylinder& leg : furniture_.cylinders)
        clearance = std::min(clearance, std::hypot(leg.xMm - x, leg.yMm - y) - leg.radiusMm);
    return clearance;
}

}  // namespace emulator
