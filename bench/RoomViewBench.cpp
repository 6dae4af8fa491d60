// What trundel-robot --view and --video cost the thread that draws (never the robot's
// stream, which runs on its own): one picture of the living room painted from a snapshot,
// and the same picture added to a GIF, as the video does every 30 ms of the robot's time.
// Then the stream itself while it is watched as trundel-robot watches it: the longest gap
// between two frames and how many gaps passed 30 ms, unwatched, with the picture painted
// 30 times a second, and with a GIF recorded as well.
#include "RobotWatch.h"
#include "RoomFile.h"
#include "RoomView.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <thread>
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

// Reads whatever the robot streams, as the controller would, so that the line never fills.
class LineReader {
public:
    explicit LineReader(const std::string& device) : fd_(::open(device.c_str(), O_RDWR | O_NOCTTY))
    {
        thread_ = std::thread([this] {
            unsigned char bytes[512];
            pollfd line{fd_, POLLIN, 0};
            while (!stop_)
                if (::poll(&line, 1, 50) > 0 && ::read(fd_, bytes, sizeof bytes) <= 0) break;
        });
    }
    ~LineReader()
    {
        stop_ = true;
        thread_.join();
        if (fd_ >= 0) ::close(fd_);
    }
    bool Send(std::initializer_list<unsigned char> bytes) const
    {
        const std::vector<unsigned char> data(bytes);
        return ::write(fd_, data.data(), data.size()) == static_cast<ssize_t>(data.size());
    }

private:
    int fd_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Argument: 0 unwatched, 1 the window's picture painted 30 times a second, 2 and a GIF.
void StreamWhileWatched(benchmark::State& state)
{
    const int watching = static_cast<int>(state.range(0));
    const emulator::Room room = LivingRoom();
    const std::string path = "/tmp/room-view-stream-bench-" + std::to_string(::getpid()) + ".gif";
    double longestGapMs = 0, lateGaps = 0, frames = 0;
    for (auto _ : state) {
        emulator::RobotOptions options;
        options.roomWidthMm = room.WidthMm();
        options.roomDepthMm = room.DepthMm();
        options.furniture = room.Pieces();
        options.start = emulator::Pose{700, 500, 45};
        options.snapshotEveryTicks = watching > 0 ? RobotWatch::kSnapshotEveryTicks : 0;
        emulator::EmulatedRobot robot(options);
        if (!robot.Start()) {
            state.SkipWithError(robot.LastError().c_str());
            return;
        }
        std::unique_ptr<FrameRecorder> video;
        if (watching == 2)
            video = OpenFrameRecorder(path, RobotWatch::kVideoFramesPerSecond, RoomView(room).FrameSize());
        RobotWatch watch(room, std::move(video));
        {
            LineReader line(robot.DevicePath());
            // Start, Safe, a slow turn to the left, and the controller's 35-byte stream.
            line.Send({128, 131, 146, 0, 120, 0, 60, 148, 11, 43, 44, 46, 47, 48, 49, 50, 51, 35, 25, 26});
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (std::chrono::steady_clock::now() < end) {
                if (watching > 0) watch.CatchUp(robot);
                std::this_thread::sleep_for(std::chrono::microseconds(1000000 / 30));
            }
            robot.Stop();
        }
        watch.Finish();
        const std::vector<emulator::SentFrame> sent = robot.SentFrames();
        for (std::size_t i = 1; i < sent.size(); ++i) {
            const double gap = sent[i].atMs - sent[i - 1].atMs;
            longestGapMs = std::max(longestGapMs, gap);
            lateGaps += gap > 30;
        }
        frames += static_cast<double>(sent.size());
    }
    std::remove(path.c_str());
    state.counters["longest_gap_ms"] = longestGapMs;
    state.counters["gaps_over_30ms"] = lateGaps;
    state.counters["frames"] = frames;
}
BENCHMARK(StreamWhileWatched)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
