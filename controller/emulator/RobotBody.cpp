#include "RobotBody.h"

#include <algorithm>
#include <cmath>

namespace emulator {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kCountsPerMm = RobotBody::kCountsPerTurn / (kPi * RobotBody::kWheelDiameterMm);
constexpr double kMmPerSPerDuty = 500.0 / 255.0;
// The bumper covers the front half; a contact this close to straight ahead presses both halves.
constexpr double kBothBumpersDeg = 20;
// A surface this close to the rim touches it: the bumper is pressed, the clearance is 0.
constexpr double kTouchMm = 0.5;
// Longest move taken in one piece. Sliding out of a piece goes back the shortest way,
// which is the way the body came only while it went in by less than half the piece's
// thickness plus the body's diameter (at least 170 mm): far more than this.
constexpr double kLongestMoveMm = 20;
// A body wedged between pieces is pushed out of each in turn; this many rounds settle
// any corner a body fits into. Where it still overlaps, it does not fit: the move is undone.
constexpr int kSlidingRounds = 8;

int Index(Wheel wheel)
{
    return wheel == Wheel::Left ? 0 : 1;
}

}  // namespace

RobotBody::RobotBody(double roomWidthMm, double roomDepthMm, const Pose& start)
    : RobotBody(Room(roomWidthMm, roomDepthMm), start)
{
}

RobotBody::RobotBody(Room room, const Pose& start) : room_(std::move(room))
{
    SetPose(start);
}

void RobotBody::SetDuties(int right, int left)
{
    auto speed = [](int duty) { return std::clamp(duty, -255, 255) * kMmPerSPerDuty; };
    SetWheelSpeeds(speed(right), speed(left));
}

void RobotBody::SetWheelSpeeds(double rightMmPerS, double leftMmPerS)
{
    speed_[Index(Wheel::Right)] = rightMmPerS;
    speed_[Index(Wheel::Left)] = leftMmPerS;
}

void RobotBody::Stall(Wheel wheel, bool stalled)
{
    stalled_[Index(wheel)] = stalled;
}

void RobotBody::Step(double seconds)
{
    double travel[2];
    for (int w = 0; w < 2; ++w) {
        travel[w] = stalled_[w] ? 0.0 : speed_[w] * seconds;
        // The encoders count in the commanded direction, wheels slipping against a wall included.
        counts_[w] += travel[w] * kCountsPerMm;
    }
    const double forward = (travel[0] + travel[1]) / 2;
    const double turn = (travel[1] - travel[0]) / kWheelBaseMm;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(forward) / kLongestMoveMm)));
    for (int i = 0; i < pieces; ++i) Move(forward / pieces, turn / pieces);
    lightsKnown_ = false;
    const unsigned before = bumps_;
    PressBumpers();
    tally_.seconds += seconds;
    if (before == 0 && bumps_ != 0) ++tally_.contacts;
}

void RobotBody::Move(double forwardMm, double turnRad)
{
    const double fromX = x_;
    const double fromY = y_;
    const double middleHeading = heading_ + turnRad / 2;
    x_ += forwardMm * std::cos(middleHeading);
    y_ += forwardMm * std::sin(middleHeading);
    heading_ += turnRad;
    KeepClearOfEverything();
    // The body is round: turning on the spot never makes it overlap, only moving does.
    if (room_.HasFurniture() && room_.Clearance(x_, y_) < kRadiusMm - 1e-6) {
        x_ = fromX;
        y_ = fromY;
    }
    tally_.distanceMm += std::hypot(x_ - fromX, y_ - fromY);
}

void RobotBody::KeepClearOfEverything()
{
    bool pushed = true;
    for (int round = 0; round < kSlidingRounds && pushed; ++round) {
        pushed = false;
        if (room_.HasFurniture()) {
            near_.clear();
            room_.SurfacesNear(x_, y_, kRadiusMm, near_);
            for (const NearSurface& surface : near_) {
                const double overlap = kRadiusMm - surface.gapMm;
                if (overlap <= 0) continue;
                x_ -= overlap * std::cos(surface.directionRad);
                y_ -= overlap * std::sin(surface.directionRad);
                pushed = true;
            }
        }
        // The walls last and exactly, so that a body against one stands at its radius.
        x_ = std::clamp(x_, kRadiusMm, room_.WidthMm() - kRadiusMm);
        y_ = std::clamp(y_, kRadiusMm, room_.DepthMm() - kRadiusMm);
    }
}

void RobotBody::PressBumpers()
{
    bumps_ = 0;
    near_.clear();
    room_.SurfacesNear(x_, y_, kRadiusMm + kTouchMm, near_);
    for (const NearSurface& surface : near_) {
        const double bearing = std::remainder(surface.directionRad / kDegree - heading_ / kDegree, 360.0);
        if (std::abs(bearing) >= 90) continue;  // behind the bumper
        if (bearing > kBothBumpersDeg)
            bumps_ |= 2;
        else if (bearing < -kBothBumpersDeg)
            bumps_ |= 1;
        else
            bumps_ |= 3;
    }
    const double clearance = room_.Clearance(x_, y_) - kRadiusMm;
    tally_.minClearanceMm = std::min(tally_.minClearanceMm, clearance <= kTouchMm ? 0.0 : clearance);
}

Pose RobotBody::CurrentPose() const
{
    return Pose{x_, y_, heading_ / kDegree};
}

void RobotBody::SetPose(const Pose& pose)
{
    x_ = pose.xMm;
    y_ = pose.yMm;
    heading_ = pose.headingDeg * kDegree;
    lightsKnown_ = false;
    KeepClearOfEverything();
    PressBumpers();
}

double RobotBody::WheelSpeed(Wheel wheel) const
{
    return speed_[Index(wheel)];
}

std::uint16_t RobotBody::EncoderCount(Wheel wheel) const
{
    const long long whole = static_cast<long long>(std::floor(counts_[Index(wheel)]));
    return static_cast<std::uint16_t>(((whole % 65536) + 65536) % 65536);
}

void RobotBody::SetEncoderCounts(unsigned left, unsigned right)
{
    counts_[Index(Wheel::Left)] = left;
    counts_[Index(Wheel::Right)] = right;
}

LightBumpSignals RobotBody::LightSignals() const
{
    if (!lightsKnown_) {
        lights_ = ReadLightBumps(room_, x_, y_, heading_, kRadiusMm);
        lightsKnown_ = true;
    }
    return lights_;
}

}  // namespace emulator
