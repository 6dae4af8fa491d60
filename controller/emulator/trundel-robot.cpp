// trundel-robot: an emulated Roomba on a pseudo-terminal, for running Trundel without a robot.
#include "EmulatedRobot.h"
#include "RobotWatch.h"
#include "RoomFile.h"
#include "ViewWindow.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/AtomicFile.h"
#include "common/FrameRecorder.h"
#include "common/PrintableText.h"
#include "common/ProgramVersion.h"

namespace {

const char* const kUsage = "Usage: trundel-robot [options]\n"
                           "  --split          write each frame in two or three pieces\n"
                           "  --noise          stray bytes, with false headers, between frames\n"
                           "  --corrupt N      a wrong checksum in every N-th frame\n"
                           "  --silent         take commands, never stream\n"
                           "  --faults         --split, --noise and --corrupt 5 together\n"
                           "  --mute-after S   stop streaming after S seconds, still taking commands\n"
                           "  --unplug-after S hang the line up after S seconds\n"
                           "  --wheel-drop-after S  a wheel drops after S seconds: Safe falls back to Passive\n"
                           "  --cliff-at X,Y   a 200 mm square hole in the floor centred there: Safe falls\n"
                           "                   back to Passive when the robot's front reaches it\n"
                           "  --seed N         random seed of the faults and of the encoders' start counts\n"
                           "                   (default 1)\n"
                           "  --room WxD       an empty room of that size in mm (default 3000x3000)\n"
                           "  --room FILE      a room with furniture, read from FILE: `#` starts a comment,\n"
                           "                   mm and degrees counter-clockwise from the lower-left corner;\n"
                           "                   first `room WIDTH DEPTH`, then any of `box X Y WIDTH DEPTH [ANGLE]`,\n"
                           "                   `cylinder X Y RADIUS` and one `start X Y HEADING`\n"
                           "  --start X,Y,DEG  start pose in mm and degrees (default: the room file's start,\n"
                           "                   else the room's centre heading 90); refused where the body\n"
                           "                   would overlap a wall or furniture\n"
                           "  --asleep         asleep, as a robot left five minutes in Passive mode: it takes\n"
                           "                   no command and sends nothing (only its buttons would wake it)\n"
                           "  --report FILE    at exit, write what the robot did, one `key value` a line:\n"
                           "                   seconds, distance_mm (the centre's path), contacts (bumper\n"
                           "                   presses), min_clearance_mm (0 on contact), frames, commands\n"
                           "  --view           show the room from above in a window, to scale: the furniture,\n"
                           "                   the robot and its heading, the path behind it, the six light\n"
                           "                   bumps' cones shaded by what they read, the bumper red on the side\n"
                           "                   that touches (a red ring flashing round the body), the mode,\n"
                           "                   the battery and the robot's time; repainted up to 30 times a\n"
                           "                   second, never slowing the stream.\n"
                           "                   Closing the window ends the program as Ctrl-C does\n"
                           "  --video FILE     record the same picture into FILE (.gif or .mp4), no display\n"
                           "                   needed: one frame every 30 ms of the robot's own time (two\n"
                           "                   stream periods), so the video plays at the robot's pace\n"
                           "                   whatever the machine's load; written whole at exit\n"
                           "  --link PATH      also make PATH a symbolic link to the terminal\n"
                           "  --dock           the robot sits on its charger (it then never stays in Safe mode)\n"
                           "  --help           this help\n"
                           "  --version        the program's version\n"
                           "Prints the terminal's path, then runs until interrupted; at exit says on the\n"
                           "error output what it received and sent and what the robot did.\n"
                           "A room that cannot be read or set up is refused with its reason, exit code 2;\n"
                           "--view without a display, or a video that cannot be written, exit code 1.\n";

bool ParseSeconds(const char* text, int& milliseconds)
{
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(seconds >= 0 && seconds <= 1e6)) return false;
    milliseconds = static_cast<int>(seconds * 1000);
    return true;
}

bool ParseInt(const char* text, int& value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

// What the command line asks for beyond the robot's options.
struct ProgramOptions {
    std::string link;
    std::string room;  // WxD or a file
    bool startGiven = false;
    std::string report;
    bool view = false;
    std::string video;
};

bool ParseOptions(int argc, char** argv, emulator::RobotOptions& options, ProgramOptions& program)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto takesValue = [&] { return value != nullptr && ++i; };
        int number = 0;
        if (option == "--split")
            options.faults.splitFrames = true;
        else if (option == "--noise")
            options.faults.noise = true;
        else if (option == "--silent")
            options.faults.silent = true;
        else if (option == "--dock")
            options.docked = true;
        else if (option == "--asleep")
            options.asleep = true;
        else if (option == "--faults") {
            options.faults.splitFrames = options.faults.noise = true;
            options.faults.corruptEvery = 5;
        } else if (option == "--corrupt" && takesValue() && ParseInt(value, number))
            options.faults.corruptEvery = number;
        else if (option == "--seed" && takesValue() && ParseInt(value, number))
            options.seed = static_cast<unsigned>(number);
        else if (option == "--mute-after" && takesValue() && ParseSeconds(value, options.faults.muteAfterMs)) {
        } else if (option == "--unplug-after" && takesValue() && ParseSeconds(value, options.faults.unplugAfterMs)) {
        } else if (option == "--wheel-drop-after" && takesValue() &&
                   ParseSeconds(value, options.faults.wheelDropAfterMs)) {
        } else if (option == "--cliff-at" && takesValue() &&
                   std::sscanf(value, "%lf,%lf", &options.cliff.xMm, &options.cliff.yMm) == 2) {
            options.cliff.present = true;
        } else if (option == "--room" && takesValue() && *value != '\0') {
            program.room = value;
        } else if (option == "--start" && takesValue() &&
                   std::sscanf(value, "%lf,%lf,%lf", &options.start.xMm, &options.start.yMm,
                               &options.start.headingDeg) == 3) {
            program.startGiven = true;
        } else if (option == "--link" && takesValue())
            program.link = value;
        else if (option == "--report" && takesValue() && *value != '\0')
            program.report = value;
        else if (option == "--view")
            program.view = true;
        else if (option == "--video" && takesValue() && IsVideoPath(value))
            program.video = value;
        else
            return false;
    }
    return true;
}

// The room `--room` names: a size WxD, or a file, whose start is taken unless `--start`
// gave one. `fileStart` tells whether the file had one.
bool TakeRoom(const ProgramOptions& program, emulator::RobotOptions& options, bool& fileStart, std::string& error)
{
    double width = 0;
    double depth = 0;
    int used = 0;
    if (std::sscanf(program.room.c_str(), "%lfx%lf%n", &width, &depth, &used) == 2 &&
        static_cast<std::size_t>(used) == program.room.size()) {
        if (!emulator::RoomSideAcceptable(width) || !emulator::RoomSideAcceptable(depth)) {
            error = "--room " + PrintableText(program.room) + ": each side must be above " +
                    std::to_string(static_cast<int>(emulator::room_limits::kSmallestRoomMm)) + " mm and at most " +
                    std::to_string(static_cast<int>(emulator::room_limits::kLargestRoomMm)) + " mm";
            return false;
        }
        options.roomWidthMm = width;
        options.roomDepthMm = depth;
        return true;
    }
    emulator::RoomDescription room;
    if (!emulator::ReadRoomFile(program.room, room, error)) return false;
    options.roomWidthMm = room.widthMm;
    options.roomDepthMm = room.depthMm;
    options.furniture = room.furniture;
    fileStart = room.hasStart;
    if (fileStart && !program.startGiven) options.start = room.start;
    return true;
}

// The room and the start pose from `--room` and `--start`. False, with the reason, when
// either cannot be used.
bool SetUpRoom(const ProgramOptions& program, emulator::RobotOptions& options, std::string& error)
{
    bool fileStart = false;
    if (!program.room.empty() && !TakeRoom(program, options, fileStart, error)) return false;
    if (!program.startGiven && !fileStart)
        options.start = emulator::Pose{options.roomWidthMm / 2, options.roomDepthMm / 2, 90};
    const emulator::Pose& start = options.start;
    char pose[96];
    std::snprintf(pose, sizeof pose, "%g,%g,%g", start.xMm, start.yMm, start.headingDeg);
    if (!std::isfinite(start.headingDeg) || std::abs(start.headingDeg) > emulator::room_limits::kLargestAngleDeg) {
        error = std::string("start pose ") + pose + ": the heading must be within 3600 degrees either way";
        return false;
    }
    if (!emulator::BodyFits(emulator::Room(options.roomWidthMm, options.roomDepthMm, options.furniture), start)) {
        error = std::string("start pose ") + pose + ": the robot's body would overlap a wall or a piece of furniture" +
                (program.startGiven || fileStart ? "" : " (no start given: the room's centre; add a start)");
        return false;
    }
    return true;
}

// Until a stop signal (or the window closed): takes the robot's snapshots into the watch
// and shows the latest in the window, at most 30 times a second, on this thread while the
// stream runs on the robot's. False when the video could not take a frame (`error` says why).
bool WatchUntilStopped(emulator::EmulatedRobot& robot, RobotWatch& watch, ViewWindow* window,
                       const sigset_t& stopSignals, std::string& error)
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::microseconds(1000000 / 30);
    auto next = Clock::now();
    for (;;) {
        try {
            watch.CatchUp(robot);
        } catch (const std::runtime_error& failure) {
            error = failure.what();
            return false;
        }
        if (window) {
            window->Show(watch.Picture());
            if (window->Closed()) return true;
        }
        next += period;
        const auto now = Clock::now();
        if (next < now) next = now;
        const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(next - now).count();
        const timespec timeout{static_cast<time_t>(wait / 1000000000), static_cast<long>(wait % 1000000000)};
        if (sigtimedwait(&stopSignals, nullptr, &timeout) > 0) return true;
    }
}

// The watch --view and --video ask for, its video opened before the robot starts so that a
// file that cannot be written stops the program at once; none when neither is asked for.
std::optional<RobotWatch> OpenWatch(const ProgramOptions& program, const emulator::RobotOptions& options,
                                    std::string& error)
{
    if (!program.view && program.video.empty()) return std::nullopt;
    const emulator::Room room(options.roomWidthMm, options.roomDepthMm, options.furniture);
    std::unique_ptr<FrameRecorder> video;
    if (!program.video.empty()) {
        try {
            video = OpenFrameRecorder(program.video, RobotWatch::kVideoFramesPerSecond, RoomView(room).FrameSize());
        } catch (const std::runtime_error& failure) {
            error = failure.what();
            return std::nullopt;
        }
    }
    return std::optional<RobotWatch>(std::in_place, room, std::move(video));
}

}  // namespace

int main(int argc, char** argv)
{
    emulator::RobotOptions options;
    // A real robot's encoders hold whatever count they reached: start anywhere, so that
    // the controller meets the roll-over.
    options.randomEncoderStart = true;
    ProgramOptions program;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(VersionLine("trundel-robot").c_str(), stdout);
            return 0;
        }
    }
    if (!ParseOptions(argc, argv, options, program)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string roomError;
    if (!SetUpRoom(program, options, roomError)) {
        std::fprintf(stderr, "trundel-robot: %s\n", roomError.c_str());
        return 2;
    }
    if (program.view) {
        const std::string missing = MissingDisplay();
        if (!missing.empty()) {
            std::fprintf(stderr,
                         "trundel-robot : %s ; --view a besoin d'un écran, --video enregistre la même vue sans "
                         "écran.\n",
                         missing.c_str());
            return 1;
        }
    }
    std::string watchError;
    std::optional<RobotWatch> watch = OpenWatch(program, options, watchError);
    if (!watchError.empty()) {
        std::fprintf(stderr, "trundel-robot: %s\n", watchError.c_str());
        return 1;
    }
    if (watch) options.snapshotEveryTicks = RobotWatch::kSnapshotEveryTicks;
    const std::string& link = program.link;
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    // Blocked before the robot's thread starts, so only sigwait below sees them.
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    emulator::EmulatedRobot robot(options);
    if (!robot.Start()) {
        std::fprintf(stderr, "trundel-robot: %s\n", robot.LastError().c_str());
        return 1;
    }
    const std::string path = robot.DevicePath();
    if (!link.empty()) {
        // Only a link left by an earlier run is replaced: the path may name a user's file.
        struct stat existing {};
        if (::lstat(link.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) ::unlink(link.c_str());
        if (::symlink(path.c_str(), link.c_str()) != 0) {
            std::fprintf(stderr, "trundel-robot: %s: %s\n", link.c_str(), std::strerror(errno));
            return 1;
        }
    }
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);

    bool watched = true;
    if (watch) {
        std::optional<ViewWindow> window;
        if (program.view) window.emplace("trundel-robot");
        watched = WatchUntilStopped(robot, *watch, window ? &*window : nullptr, stopSignals, watchError);
    } else {
        int signal = 0;
        sigwait(&stopSignals, &signal);
    }
    robot.Stop();
    if (!link.empty()) ::unlink(link.c_str());

    std::size_t intact = 0;
    const auto frames = robot.SentFrames();
    for (const auto& frame : frames) intact += frame.intact;
    const auto pose = robot.CurrentPose();
    const emulator::RunTally tally = robot.Tally();
    std::fprintf(stderr,
                 "trundel-robot: %zu commands received, %zu frames sent (%zu of the last %zu intact), "
                 "pose %.0f mm, %.0f mm, %.1f degrees, battery %.0f mAh\n"
                 "trundel-robot: %.3f s, %.1f mm driven, %d contacts, closest %.1f mm\n",
                 robot.ReceivedCommandCount(), robot.SentFrameCount(), intact, frames.size(), pose.xMm, pose.yMm,
                 pose.headingDeg, robot.BatteryChargeMah(), tally.seconds, tally.distanceMm, tally.contacts,
                 tally.minClearanceMm);
    int status = 0;
    if (watch && watched) {
        try {
            watch->CatchUp(robot);  // the last snapshots, up to the stop
            watch->Finish();
        } catch (const std::runtime_error& failure) {
            watched = false;
            watchError = failure.what();
        }
    }
    if (!watched) {
        std::fprintf(stderr, "trundel-robot: %s\n", watchError.c_str());
        status = 1;
    } else if (!program.video.empty()) {
        std::fprintf(stderr, "trundel-robot: %zu frames in %s", watch->VideoFrames(), program.video.c_str());
        if (robot.DroppedSnapshots() > 0)
            std::fprintf(stderr, ", %zu missing: the drawing fell behind the robot", robot.DroppedSnapshots());
        std::fputc('\n', stderr);
    }
    if (!program.report.empty()) {
        std::string error;
        const std::string report = emulator::RunReportText(tally, robot.SentFrameCount(), robot.ReceivedCommandCount());
        if (!WriteFileAtomically(program.report, report, error)) {
            std::fprintf(stderr, "trundel-robot: report not written: %s\n", error.c_str());
            return 1;
        }
    }
    return status;
}
