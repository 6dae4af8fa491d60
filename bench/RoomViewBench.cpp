// What trundel-robot --view and --video cost the thread that draws (never the robot's
// stream, which runs on its own): one picture of the living room painted from a snapshot,
// and the same picture added to a GIF, as the video does every 30 ms of the robot's time.
#include "RobotWatch.h"
#include "RoomFile.h"
#include "RoomView.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "common/FrameRecorder.h"

namespace {

emulator::Room LivingRoom()
{
    emulator::RoomDescription room;
    std::string error;
    if (!emulator::ReadRoomFile(TRUNDEL_ROOMS "/living-room.txt", room, error))
        std::fprintf(stderr, "%s\n", error.c_str());
    return emulator::Room(room.widthMm, room.depthMm, room.furniture);
}

// The robot's snapshot at frame `n` of a slow loop between the table's legs and the sofa,
// near enough to the furniture for its light bumps to read something.
emulator::RobotSnapshot Snapshot(long n)
{
    emulator::RobotSnapshot robot;
    const double angle = 0.01 * static_cast<double>(n);
    robot.pose = emulator::Pose{2500 + 900 * std::cos(angle), 2300 + 500 * std::sin(angle), angle * 57.3 + 90};
    robot.bumps = (n / 30) % 4;
    robot.mode = emulator::Mode::Safe;
    robot.batteryChargeMah = 2400;
    robot.tick = static_cast<unsigned long>(2 * n);
    robot.seconds = 0.03 * static_cast<double>(n);
    return robot;
}

// Frame `n` as the watch paints it: the path extended, then the picture.
void PaintNext(RoomView& view, long n, cv::Mat& frame)
{
    const emulator::RobotSnapshot robot = Snapshot(n);
    view.Follow(robot);
    view.Paint(robot, frame);
}

void PaintOneView(benchmark::State& state)
{
    RoomView view(LivingRoom());
    cv::Mat frame;
    long n = 0;
    for (auto _ : state) {
        PaintNext(view, n++, frame);
        benchmark::DoNotOptimize(frame.data);
    }
}
BENCHMARK(PaintOneView)->Unit(benchmark::kMicrosecond);

void PaintAndRecordGifFrame(benchmark::State& state)
{
    const emulator::Room room = LivingRoom();
    const std::string path = "/tmp/room-view-bench-" + std::to_string(::getpid()) + ".gif";
    RoomView view(room);
    auto video = OpenFrameRecorder(path, RobotWatch::kVideoFramesPerSecond, view.FrameSize());
    cv::Mat frame;
    long n = 0;
    for (auto _ : state) {
        PaintNext(view, n++, frame);
        video->Add(frame);
    }
    video->Finish();
    std::remove(path.c_str());
}
BENCHMARK(PaintAndRecordGifFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
