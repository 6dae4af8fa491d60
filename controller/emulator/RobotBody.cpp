#include "RobotBody.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace emulator {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kCountsPerMm = RobotBody::kCountsPerTurn / (kPi * RobotBody::kWheelDiameterMm);
constexpr double kMmPerSPerDuty = 500.0 / 255.0;
constexpr double kLightBearingsDeg[RobotBody::kLightSensors] = {72, 42, 14, -14, -42, -72};
// The bumper covers the front half; a contact this close to straight ahead presses both halves.
constexpr double kBothBumpersDeg = 20;

int Index(Wheel wheel)
{
    return wheel == Wheel::Left ? 0 : 1;
}

}  // namespace

RobotBody::RobotBody(double roomWidthMm, double roomDepthMm, const Pose& start)
    : width_(roomWidthMm), depth_(roomDepthMm)
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
    const double middleHeading = heading_ + turn / 2;
    x_ += forward * std::cos(middleHeading);
    y_ += forward * std::sin(middleHeading);
    heading_ += turn;
    KeepInsideRoom();
}

void RobotBody::KeepInsideRoom()
{
    bumps_ = 0;
    struct Wall {
        double gap;        // from the robot's centre to the wall
        double normalDeg;  // direction from the centre to the wall
    };
    const Wall walls[] = {{x_, 180}, {width_ - x_, 0}, {y_, 270}, {depth_ - y_, 90}};
    for (const Wall& wall : walls) {
        if (wall.gap > kRadiusMm + 0.5) continue;
        double bearing = std::remainder(wall.normalDeg - heading_ / kDegree, 360.0);
        if (std::abs(bearing) < 90) {
            if (bearing > kBothBumpersDeg)
                bumps_ |= 2;
            else if (bearing < -kBothBumpersDeg)
                bumps_ |= 1;
            else
                bumps_ |= 3;
        }
    }
    x_ = std::clamp(x_, kRadiusMm, width_ - kRadiusMm);
    y_ = std::clamp(y_, kRadiusMm, depth_ - kRadiusMm);
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
    KeepInsideRoom();
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

std::array<std::uint16_t, RobotBody::kLightSensors> RobotBody::LightSignals() const
{
    std::array<std::uint16_t, kLightSensors> signals{};
    for (int s = 0; s < kLightSensors; ++s) {
        const double direction = heading_ + kLightBearingsDeg[s] * kDegree;
        const double dx = std::cos(direction);
        const double dy = std::sin(direction);
        const double sx = x_ + kRadiusMm * dx;
        const double sy = y_ + kRadiusMm * dy;
        double distance = std::numeric_limits<double>::infinity();
        if (dx > 1e-9) distance = std::min(distance, (width_ - sx) / dx);
        if (dx < -1e-9) distance = std::min(distance, -sx / dx);
        if (dy > 1e-9) distance = std::min(distance, (depth_ - sy) / dy);
        if (dy < -1e-9) distance = std::min(distance, -sy / dy);
        distance = std::max(distance, 0.0);
        if (distance >= kLightRangeMm) continue;
        const double nearness = 1.0 - distance / kLightRangeMm;
        signals[s] = static_cast<std::uint16_t>(std::lround(4095.0 * nearness * nearness));
    }
    return signals;
}

}  // namespace emulator
