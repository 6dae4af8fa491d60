#include "RobotWatch.h"

#include <utility>

RobotWatch::RobotWatch(const emulator::Room& room, std::unique_ptr<FrameRecorder> video)
    : view_(room), video_(std::move(video))
{
}

void RobotWatch::CatchUp(emulator::EmulatedRobot& robot)
{
    const std::vector<emulator::RobotSnapshot> snapshots = robot.TakeSnapshots();
    if (snapshots.empty()) {
        if (!seen_any_) view_.Paint(robot.Snapshot(), picture_);
        return;
    }
    seen_any_ = true;
    for (const emulator::RobotSnapshot& snapshot : snapshots) {
        view_.Follow(snapshot);
        if (!video_) continue;
        view_.Paint(snapshot, picture_);
        video_->Add(picture_);
        ++video_frames_;
    }
    if (!video_) view_.Paint(snapshots.back(), picture_);
}

void RobotWatch::Finish()
{
    if (video_) video_->Finish();
}
