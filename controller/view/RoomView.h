#pragma once
#include "EmulatedRobot.h"
#include "Room.h"

#include <opencv2/core.hpp>

// The emulated robot seen from above, its room to scale: walls and furniture, the path
// behind the robot, the six light bumps' cones shaded by what they read, the bumper lit
// red on the side that touches (a red ring flashing round the body), and a line with the
// mode, the battery and the robot's time. One picture for the window and the video
// alike, painted from a snapshot, so it never holds up the robot's stream.
class RoomView {
public:
    // The room fitted, margins included, within `largest` pixels above the status line.
    explicit RoomView(const emulator::Room& room, cv::Size largest = {720, 540});

    cv::Size FrameSize() const { return frame_size_; }
    // Where a point of the room lands in the picture, in whole pixels.
    cv::Point PixelOf(double xMm, double yMm) const;

    // Adds where the robot is to the path drawn behind it.
    void Follow(const emulator::RobotSnapshot& robot);
    // The room, the path followed so far and the robot as `robot` shows it, into `frame`
    // (made CV_8UC3 of FrameSize()).
    void Paint(const emulator::RobotSnapshot& robot, cv::Mat& frame) const;

    static constexpr int kMarginPx = 8;
    static constexpr int kStatusHeightPx = 26;

private:
    // In pixels with kShift bits of fraction, for smooth motion between whole pixels.
    static constexpr int kShift = 4;
    cv::Point Fine(double xMm, double yMm) const;
    void PaintFurniture();
    void PaintCones(const emulator::RobotSnapshot& robot, cv::Mat& frame) const;
    void PaintBody(const emulator::RobotSnapshot& robot, cv::Mat& frame) const;
    void PaintStatus(const emulator::RobotSnapshot& robot, cv::Mat& frame) const;

    emulator::Room room_;
    double scale_;  // pixels per millimetre
    cv::Size frame_size_;
    cv::Mat trail_;  // the room with the path followed so far
    bool has_last_ = false;
    cv::Point last_;
};
