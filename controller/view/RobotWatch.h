#pragma once
#include "EmulatedRobot.h"
#include "RoomView.h"

#include <cstddef>
#include <memory>
#include <opencv2/core.hpp>

#include "common/FrameRecorder.h"

// One who watches the emulated robot from another thread than its stream's: it takes the
// snapshots the robot kept, draws the path from them and, when recording, makes a video
// frame of each, so that the video follows the robot's own time whatever the machine's load.
class RobotWatch {
public:
    // A snapshot every two stream periods: 30 ms of the robot's time at 15 ms a period,
    // which a GIF plays at its true pace (3 hundredths of a second a frame).
    static constexpr int kSnapshotEveryTicks = 2;
    // The video's nominal rate for that: 1000 / 30 ms, rounded.
    static constexpr int kVideoFramesPerSecond = 33;

    // `video` may be null: then only the picture of the latest snapshot is painted.
    RobotWatch(const emulator::Room& room, std::unique_ptr<FrameRecorder> video);

    cv::Size FrameSize() const { return view_.FrameSize(); }
    // Takes every snapshot the robot kept since the last call (the robot as it is now when
    // it kept none yet) and paints the latest into Picture().
    void CatchUp(emulator::EmulatedRobot& robot);
    const cv::Mat& Picture() const { return picture_; }
    std::size_t VideoFrames() const { return video_frames_; }
    // Ends the video; throws std::runtime_error when it cannot be written.
    void Finish();

private:
    RoomView view_;
    std::unique_ptr<FrameRecorder> video_;
    std::size_t video_frames_ = 0;
    bool seen_any_ = false;
    cv::Mat picture_;
};
