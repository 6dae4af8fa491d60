// The picture of the emulated robot seen from above, and the video made of it as the
// robot runs on its own thread.
#include "RoomView.h"
#include "EmulatedRobot.h"
#include "RobotBody.h"
#include "RobotWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "../common/PlayedGif.h"
#include "LinkTestSupport.h"
#include "common/FrameRecorder.h"

using emulator::Pose;
using emulator::RobotSnapshot;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A 3 x 3 m room with a box 60 mm beyond the robot's rim, a little to its left.
emulator::Room RoomWithABoxAhead()
{
    emulator::Furniture furniture;
    furniture.boxes.push_back({1450, 1500 + 170 + 60 + 200, 200, 400, 0});
    return emulator::Room(3000, 3000, furniture);
}

RobotSnapshot RobotAt(Pose pose, unsigned bumps = 0)
{
    RobotSnapshot robot;
    robot.pose = pose;
    robot.bumps = bumps;
    robot.mode = emulator::Mode::Safe;
    robot.batteryChargeMah = 2000;
    return robot;
}

// The pixel at `distanceMm` from the robot's centre, `bearingDeg` from its heading.
cv::Vec3b Around(const RoomView& view, const cv::Mat& frame, const Pose& pose, double bearingDeg, double distanceMm)
{
    const double angle = (pose.headingDeg + bearingDeg) * kPi / 180;
    const cv::Point at = view.PixelOf(pose.xMm + distanceMm * std::cos(angle), pose.yMm + distanceMm * std::sin(angle));
    return frame.at<cv::Vec3b>(at);
}

bool Reddish(const cv::Vec3b& bgr)
{
    return bgr[2] > 200 && bgr[1] < 80 && bgr[0] < 80;
}

TEST(RoomView, TheRoomFitsToScaleWithItsStatusLineBelow)
{
    const RoomView wide(emulator::Room(6000, 1200));
    EXPECT_LE(wide.FrameSize().width, 720);
    EXPECT_EQ(wide.FrameSize().width % 2, 0);
    EXPECT_EQ(wide.FrameSize().height % 2, 0);
    // 6 m across 704 pixels: 1.2 m is about 141.
    EXPECT_NEAR(wide.FrameSize().height - 2 * RoomView::kMarginPx - RoomView::kStatusHeightPx, 141, 2);
    EXPECT_EQ(wide.PixelOf(0, 1200), cv::Point(RoomView::kMarginPx, RoomView::kMarginPx)) << "y points up";
}

TEST(RoomView, ShowsTheBodyTheConesByTheirSignalAndTheBumperOnTheSideThatTouches)
{
    const RoomView view(RoomWithABoxAhead());
    const Pose pose{1500, 1500, 90};
    cv::Mat free, pressed;
    view.Paint(RobotAt(pose), free);
    view.Paint(RobotAt(pose, 2), pressed);
    ASSERT_EQ(free.size(), view.FrameSize());
    ASSERT_EQ(free.type(), CV_8UC3);

    // The body, off its heading line; the floor well beside it.
    const cv::Vec3b body = Around(view, free, pose, 90, 100);
    const cv::Vec3b floor = Around(view, free, pose, -90, 600);
    EXPECT_NE(body, floor);
    EXPECT_LT(body[0], floor[0]);

    // 40 mm beyond the rim on each sensor's axis: the centre left one faces the box, the
    // right one (72 degrees right) sees nothing, and is as pale as the farther ones.
    const cv::Vec3b centreLeft = Around(view, free, pose, 14, 210);
    const cv::Vec3b right = Around(view, free, pose, -72, 210);
    EXPECT_EQ(right, Around(view, free, pose, -42, 210)) << "both read nothing";
    EXPECT_LT(centreLeft[0] + 60, right[0]) << "a strong signal is a deep orange, not pale grey";
    EXPECT_NE(right, floor) << "a cone that sees nothing still shows";

    // The left half of the bumper lights up, the right half does not, and nothing is red
    // when it is released.
    EXPECT_TRUE(Reddish(Around(view, pressed, pose, 45, 170)));
    EXPECT_FALSE(Reddish(Around(view, pressed, pose, -45, 170)));
    EXPECT_FALSE(Reddish(Around(view, free, pose, 45, 170)));

    // A ring flashes round the body while it is pressed: on, then off 120 ms later.
    RobotSnapshot later = RobotAt(pose, 2);
    later.tick = 8;
    cv::Mat off;
    view.Paint(later, off);
    EXPECT_TRUE(Reddish(Around(view, pressed, pose, -135, 1.25 * 170)));
    EXPECT_FALSE(Reddish(Around(view, off, pose, -135, 1.25 * 170)));
    EXPECT_TRUE(Reddish(Around(view, off, pose, 45, 170))) << "the bumper stays lit";

    // The same state paints the same picture.
    cv::Mat again;
    view.Paint(RobotAt(pose), again);
    EXPECT_EQ(cv::norm(free, again, cv::NORM_INF), 0.0);
}

TEST(RoomView, ThePathStaysBehindTheRobot)
{
    RoomView view(emulator::Room(3000, 3000));
    const Pose from{600, 600, 0}, to{2400, 600, 0};
    view.Follow(RobotAt(from));
    view.Follow(RobotAt(to));
    cv::Mat frame, before;
    view.Paint(RobotAt(to), frame);
    const cv::Vec3b trail = frame.at<cv::Vec3b>(view.PixelOf(1200, 600));
    const cv::Vec3b aside = frame.at<cv::Vec3b>(view.PixelOf(1200, 1200));
    EXPECT_NE(trail, aside);
    EXPECT_GT(trail[0], trail[2]) << "the path is blue";
}

TEST(RobotWatch, AVideoHoldsAFrameEveryTwoStreamPeriodsOfTheRobotsTime)
{
    link_test::ScratchDirectory scratch;
    emulator::RobotOptions options;
    options.snapshotEveryTicks = RobotWatch::kSnapshotEveryTicks;
    emulator::EmulatedRobot robot(options);
    const emulator::Room room(options.roomWidthMm, options.roomDepthMm);
    RobotWatch watch(room, OpenFrameRecorder("run.gif", RobotWatch::kVideoFramesPerSecond, RoomView(room).FrameSize()));
    ASSERT_TRUE(robot.Start()) << robot.LastError();
    // The robot is turned by hand half way, so the video is not one picture repeated.
    for (int i = 0; i < 2000 && watch.VideoFrames() < 20; ++i) {
        watch.CatchUp(robot);
        if (i == 5) robot.SetPose(Pose{1000, 1000, 0});
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    robot.Stop();
    watch.CatchUp(robot);
    watch.Finish();
    const unsigned long ticks = robot.Snapshot().tick;
    EXPECT_EQ(robot.DroppedSnapshots(), 0u);
    EXPECT_GE(watch.VideoFrames(), 20u);
    EXPECT_EQ(watch.VideoFrames(), ticks / 2) << "one frame every two periods, none lost";

    const PlayedGif played = PlayGif("run.gif");
    EXPECT_EQ(static_cast<std::size_t>(played.frames), watch.VideoFrames());
    EXPECT_EQ(played.delay, 3) << "30 ms of the robot's time a frame";
    EXPECT_EQ(cv::norm(played.last, watch.Picture(), cv::NORM_INF), 0.0) << "the video ends on the view's picture";
}

}  // namespace
