#include "runner/RunnerOptions.h"

#include <algorithm>

#include "common/FrameRecorder.h"
#include "runner/PictureOutput.h"

namespace {

std::string VideoPath(const std::string& path)
{
    if (!IsVideoPath(path)) throw UsageError("--video: cannot write a video named '" + path + "' (use .mp4 or .gif)");
    return path;
}

// GIF counts delays in hundredths of a second: beyond 100 frames per second it cannot.
int FramesPerSecond(const std::string& text)
{
    const long long count = ParsePositiveCount("--fps", text);
    if (count > 100) throw UsageError("--fps: '" + text + "' is more than 100 frames per second");
    return static_cast<int>(count);
}

// The desktop window's zooms: ×1 to ×4.
int Zoom(const std::string& text)
{
    const long long zoom = ParsePositiveCount("--zoom", text);
    if (zoom > 4) throw UsageError("--zoom: '" + text + "' is more than 4");
    return static_cast<int>(zoom);
}

}  // namespace

RunnerOptions ParseRunnerOptions(const std::vector<std::string>& arguments)
{
    RunnerOptions options;
    bool fpsGiven = false, zoomGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (ReadInformationOption(option, options)) continue;
        if (option == "--beams" || option == "--inference") {
            (option == "--beams" ? options.beams : options.inference) = true;
            continue;
        }
        static const std::vector<std::string> kValueOptions = {"--table", "--seed",    "--passes", "--trace",
                                                               "--arena", "--freemap", "--frame",  "--plot",
                                                               "--video", "--fps",     "--zoom"};
        if (std::find(kValueOptions.begin(), kValueOptions.end(), option) == kValueOptions.end()) {
            if (option.rfind("-", 0) == 0) throw UnknownOption(option);
            throw UnexpectedArgument(option);
        }
        const std::string& value = OptionValue(arguments, i);
        if (option == "--table") {
            options.tablePath = value;
        } else if (option == "--seed") {
            options.seed = ParseSeed(option, value);
        } else if (option == "--passes") {
            options.passes = ParsePositiveCount(option, value);
        } else if (option == "--trace") {
            options.tracePath = value;
        } else if (option == "--arena") {
            options.arenaPath = PicturePath(option, value);
        } else if (option == "--freemap") {
            options.freeMapPath = PicturePath(option, value);
        } else if (option == "--frame") {
            options.framePath = PicturePath(option, value);
        } else if (option == "--plot") {
            options.plotPath = PicturePath(option, value);
        } else if (option == "--video") {
            options.videoPath = VideoPath(value);
        } else if (option == "--fps") {
            options.framesPerSecond = FramesPerSecond(value);
            fpsGiven = true;
        } else if (option == "--zoom") {
            options.zoom = Zoom(value);
            zoomGiven = true;
        }
    }
    if (fpsGiven && options.videoPath.empty()) throw UsageError("--fps: only with --video");
    if (zoomGiven && options.videoPath.empty() && options.framePath.empty())
        throw UsageError("--zoom: only with --frame or --video");
    if (options.inference && options.videoPath.empty() && options.framePath.empty())
        throw UsageError("--inference: only with --frame or --video");
    return options;
}

std::vector<NamedFile> RunnerOutputs(const RunnerOptions& options)
{
    return {{"--trace", options.tracePath}, {"--arena", options.arenaPath}, {"--freemap", options.freeMapPath},
            {"--frame", options.framePath}, {"--plot", options.plotPath},   {"--video", options.videoPath}};
}

const char* RunnerHelp()
{
    return R"(Usage: marlune-run [--table FILE] [--seed N] [--passes N] [--beams]
                   [--trace FILE.csv] [--arena FILE.png] [--freemap FILE.png] [--frame FILE.png]
                   [--plot FILE.png] [--video FILE.mp4|FILE.gif [--fps N]] [--zoom N]
                   [--inference]

Runs the Marlune robot simulation without a window: the same set-up as the desktop
program (robot 15 x 10, a new random arena of 12 obstacles, the robot at the centre
heading up, 60 beams per sector), then N passes of step, collision test, drawing,
sensing and fuzzy steering, as fast as the machine allows.

  --table FILE       inference table to steer with: an .ifi of sixteen numbers, angle
                     then speed of S1 to S8 (as saved by Marlune), or a fuzzylite .fll
                     or .fis engine as marlune-export writes it. Without it the table is
                     all zeros and the robot stands still.
  --seed N           seed of the world's random generator, decimal or 0x hexadecimal
                     (64-bit). Without it the tick counter is used; the seed is always
                     printed, so any run can be repeated exactly.
  --passes N         number of passes (default 3000).
  --beams            draw the sensor beams into the frame.
  --trace FILE.csv   one line per pass: pass,centerX,centerY,heading,steer,speed,
                     left,front,right,collisions,distance (17 significant digits).
  --arena FILE.png   the obstacle picture, as generated.
  --freemap FILE.png the collision map (black where the robot's centre collides).
  --frame FILE.png   the last frame, robot and arena (and beams with --beams).
  --plot FILE.png    the robot's path over the arena, three times larger: start green,
                     end black, a red ring where each collision was counted.
  --video FILE       every pass's frame, as --frame shows the last: .mp4 (MPEG-4) or
                     .gif (looping, exact colours).
  --fps N            frames per second of the video, 1 to 100 (default 25).
  --zoom N           --frame and --video N times larger (1 to 4, default 1), each
                     pixel an N x N square of its exact colour, as the desktop window
                     enlarges the arena.
  --inference        beside the arena in --frame and --video, the controller's
                     reasoning on that pass as the desktop window "Inférence floue"
                     draws it: each sector's distance on its ramp, the eight
                     situations' truths and the winner, the command, and the strip of
                     the last 200 passes with a red mark at each counted collision.
  --help             this text.
  --version          the program's version.

Pictures show what the window would: the arena's origin at the bottom left.
Printed at the end: seed, passes, collisions, distance in pixels, collisions per
1000 passes and mean speed in pixels per pass.
A robot whose position, heading or command goes beyond any meaningful range (a million
pixels from the arena or per pass, 1e8 radians) ends the run there: the summary says
after which pass, and the figures are those of the passes up to it.
Every output replaces its file only once it is complete, so a failed write leaves the
previous file as it was. Outputs are checked before the run.
Exit codes: 0 done, 1 an output could not be written (or its folder is missing or not
writable), 2 bad options or table, or an output naming the table or another output.
)";
}
