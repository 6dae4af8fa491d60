#include "RoomView.h"

#include "LightBumps.h"
#include "OpenInterface.h"
#include "RobotBody.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// Colours, blue green red.
const cv::Scalar kWall(70, 70, 70);
const cv::Scalar kFloor(232, 238, 242);
const cv::Scalar kFurniture(120, 150, 175);
const cv::Scalar kFurnitureEdge(60, 85, 110);
const cv::Scalar kPath(210, 130, 40);
const cv::Scalar kConeDark(226, 226, 226);  // a sensor that sees nothing
const cv::Scalar kConeLit(0, 150, 255);     // one that touches
const cv::Scalar kBody(95, 95, 95);
const cv::Scalar kBodyEdge(40, 40, 40);
const cv::Scalar kHeading(255, 255, 255);
const cv::Scalar kBumperPressed(0, 0, 255);
constexpr unsigned long kFlashTicks = 8;  // stream periods of 15 ms
const cv::Scalar kStatusBack(30, 30, 30);
const cv::Scalar kStatusText(245, 245, 245);

// Each cone is drawn as wide as the gap to its neighbours' axes, so the six tile the
// front without hiding one another; the sensors themselves look through a wider cone.
constexpr double kConeHalfWidthDeg = 14.0;
constexpr int kConeArcPoints = 8;

cv::Scalar Mix(const cv::Scalar& from, const cv::Scalar& to, double share)
{
    return from * (1.0 - share) + to * share;
}

}  // namespace

RoomView::RoomView(const emulator::Room& room, cv::Size largest) : room_(room)
{
    const double inner[2] = {static_cast<double>(largest.width - 2 * kMarginPx),
                             static_cast<double>(largest.height - 2 * kMarginPx)};
    scale_ = std::min(inner[0] / room.WidthMm(), inner[1] / room.DepthMm());
    // Even sides: what MPEG-4 encoders ask for.
    const int width = 2 * kMarginPx + static_cast<int>(std::ceil(room.WidthMm() * scale_));
    const int height = 2 * kMarginPx + static_cast<int>(std::ceil(room.DepthMm() * scale_)) + kStatusHeightPx;
    frame_size_ = cv::Size(width + width % 2, height + height % 2);
    trail_.create(frame_size_, CV_8UC3);
    trail_.setTo(kWall);
    cv::rectangle(trail_, PixelOf(0, room.DepthMm()), PixelOf(room.WidthMm(), 0), kFloor, cv::FILLED);
    PaintFurniture();
}

cv::Point RoomView::Fine(double xMm, double yMm) const
{
    const double unit = 1 << kShift;
    return cv::Point(static_cast<int>(std::lround((kMarginPx + xMm * scale_) * unit)),
                     static_cast<int>(std::lround((kMarginPx + (room_.DepthMm() - yMm) * scale_) * unit)));
}

cv::Point RoomView::PixelOf(double xMm, double yMm) const
{
    return cv::Point(static_cast<int>(std::lround(kMarginPx + xMm * scale_)),
                     static_cast<int>(std::lround(kMarginPx + (room_.DepthMm() - yMm) * scale_)));
}

void RoomView::PaintFurniture()
{
    for (const emulator::Box& box : room_.Pieces().boxes) {
        const double c = std::cos(box.angleDeg * kDegree), s = std::sin(box.angleDeg * kDegree);
        std::vector<cv::Point> corners;
        for (const auto& [u, v] : {std::pair{-1, -1}, std::pair{1, -1}, std::pair{1, 1}, std::pair{-1, 1}}) {
            const double along = u * box.widthMm / 2, across = v * box.depthMm / 2;
            corners.push_back(Fine(box.xMm + along * c - across * s, box.yMm + along * s + across * c));
        }
        cv::fillConvexPoly(trail_, corners, kFurniture, cv::LINE_AA, kShift);
        cv::polylines(trail_, corners, true, kFurnitureEdge, 1, cv::LINE_AA, kShift);
    }
    for (const emulator::Cylinder& leg : room_.Pieces().cylinders) {
        // At least a pixel and a half across, so the thinnest leg still shows.
        const int radius = std::max(static_cast<int>(std::lround(leg.radiusMm * scale_ * (1 << kShift))), 24);
        cv::circle(trail_, Fine(leg.xMm, leg.yMm), radius, kFurnitureEdge, cv::FILLED, cv::LINE_AA, kShift);
    }
}

void RoomView::Follow(const emulator::RobotSnapshot& robot)
{
    const cv::Point at = Fine(robot.pose.xMm, robot.pose.yMm);
    if (has_last_) cv::line(trail_, last_, at, kPath, 2, cv::LINE_AA, kShift);
    last_ = at;
    has_last_ = true;
}

void RoomView::Paint(const emulator::RobotSnapshot& robot, cv::Mat& frame) const
{
    trail_.copyTo(frame);
    PaintCones(robot, frame);
    PaintBody(robot, frame);
    PaintStatus(robot, frame);
}

void RoomView::PaintCones(const emulator::RobotSnapshot& robot, cv::Mat& frame) const
{
    const emulator::Pose& pose = robot.pose;
    const double heading = pose.headingDeg * kDegree;
    const double rim = emulator::RobotBody::kRadiusMm;
    const emulator::LightBumpSignals signals = emulator::ReadLightBumps(room_, pose.xMm, pose.yMm, heading, rim);
    for (int sensor = 0; sensor < emulator::kLightSensors; ++sensor) {
        const double axis = heading + emulator::kLightBumpBearingsDeg[sensor] * kDegree;
        const double sx = pose.xMm + rim * std::cos(axis), sy = pose.yMm + rim * std::sin(axis);
        std::vector<cv::Point> cone{Fine(sx, sy)};
        for (int i = 0; i <= kConeArcPoints; ++i) {
            const double ray = axis + (-kConeHalfWidthDeg + 2 * kConeHalfWidthDeg * i / kConeArcPoints) * kDegree;
            cone.push_back(Fine(sx + emulator::kLightBumpRangeMm * std::cos(ray),
                                sy + emulator::kLightBumpRangeMm * std::sin(ray)));
        }
        // The square root lifts the weak readings, which matter most, out of the pale.
        const double share = std::sqrt(signals[static_cast<std::size_t>(sensor)] / 4095.0);
        cv::fillConvexPoly(frame, cone, Mix(kConeDark, kConeLit, share), cv::LINE_AA, kShift);
    }
}

void RoomView::PaintBody(const emulator::RobotSnapshot& robot, cv::Mat& frame) const
{
    const emulator::Pose& pose = robot.pose;
    const double heading = pose.headingDeg * kDegree;
    const double rim = emulator::RobotBody::kRadiusMm;
    const cv::Point centre = Fine(pose.xMm, pose.yMm);
    const int radius = static_cast<int>(std::lround(rim * scale_ * (1 << kShift)));
    cv::circle(frame, centre, radius, kBody, cv::FILLED, cv::LINE_AA, kShift);
    cv::circle(frame, centre, radius, kBodyEdge, 1, cv::LINE_AA, kShift);
    // The bumper's halves: the left from the heading to 90 degrees left, the right likewise.
    const double turnDeg = -pose.headingDeg;  // the picture's y axis points down
    const double thickness = std::max(3.0, 30 * scale_);
    const cv::Size axes(radius, radius);
    if (robot.bumps & 2u)
        cv::ellipse(frame, centre, axes, turnDeg, -90, 0, kBumperPressed, static_cast<int>(thickness), cv::LINE_AA,
                    kShift);
    if (robot.bumps & 1u)
        cv::ellipse(frame, centre, axes, turnDeg, 0, 90, kBumperPressed, static_cast<int>(thickness), cv::LINE_AA,
                    kShift);
    // A ring that flashes round the body while the bumper is pressed, 120 ms on and 120 ms
    // off in the robot's time, so that a contact catches the eye however small the room.
    if (robot.bumps != 0 && (robot.tick / kFlashTicks) % 2 == 0)
        cv::circle(frame, centre, radius * 5 / 4, kBumperPressed, 2, cv::LINE_AA, kShift);
    const cv::Point nose = Fine(pose.xMm + 0.85 * rim * std::cos(heading), pose.yMm + 0.85 * rim * std::sin(heading));
    cv::line(frame, centre, nose, kHeading, 2, cv::LINE_AA, kShift);
}

void RoomView::PaintStatus(const emulator::RobotSnapshot& robot, cv::Mat& frame) const
{
    const cv::Rect band(0, frame_size_.height - kStatusHeightPx, frame_size_.width, kStatusHeightPx);
    frame(band).setTo(kStatusBack);
    char text[128];
    const char* mode = oi::ModeName(robot.mode);
    std::snprintf(text, sizeof text, "mode %s   batterie %.0f %% (%.0f mAh)   %.1f s", mode ? mode : "?",
                  100.0 * robot.batteryChargeMah / emulator::kBatteryCapacityMah, robot.batteryChargeMah,
                  robot.seconds);
    cv::putText(frame, text, cv::Point(kMarginPx, band.y + 18), cv::FONT_HERSHEY_SIMPLEX, 0.5, kStatusText, 1,
                cv::LINE_AA);
}
