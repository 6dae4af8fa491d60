#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OpenInterface.h"
#include "Room.h"
#include "RunTally.h"

// A Roomba stand-in on a pseudo-terminal: it takes Open Interface commands, drives two
// wheels through a rectangular room and streams its sensors, so the controller can be run
// and tested without a robot. It runs on its own thread between Start and Stop; the body
// and its room (RobotBody, Room) are plain objects that need neither.
namespace emulator {

// Faults put into the sensor stream, to exercise the controller's reception.
struct FaultInjection {
    bool splitFrames = false;   // each frame reaches the line in two or three writes
    bool noise = false;         // stray bytes, often with a false header 19, before frames
    int corruptEvery = 0;       // every n-th frame carries a wrong checksum (0: none)
    bool silent = false;        // commands are taken but nothing is ever streamed
    int muteAfterMs = -1;       // from then on nothing is streamed, commands still taken (-1: never)
    int unplugAfterMs = -1;     // the line is hung up then (-1: never)
    int wheelDropAfterMs = -1;  // a wheel drops then: Safe falls back to Passive (-1: never)
};

// A hole in the floor (a stair, a table's edge): a square of the room that the cliff
// sensors see when the robot's front reaches it.
struct Cliff {
    bool present = false;
    double xMm = 0;
    double yMm = 0;
    double sideMm = 200;
};

// Position in the room (millimetres, origin at a corner) and heading in degrees,
// counter-clockwise from the +x wall. The heading is not wrapped, so that the angle a
// manoeuvre turned is the difference of two headings.
struct Pose {
    double xMm = 0;
    double yMm = 0;
    double headingDeg = 0;
};

constexpr int kBatteryCapacityMah = 2696;  // what packet 26 says

struct RobotOptions {
    FaultInjection faults;
    Cliff cliff;
    double roomWidthMm = 3000;
    double roomDepthMm = 3000;
    Furniture furniture;
    Pose start{1500, 1500, 90};
    int streamPeriodMs = 15;
    unsigned seed = 1;                // drives the fault injection, so a run can be repeated
    bool randomEncoderStart = false;  // the encoders start at a count drawn from the seed
    bool docked = false;              // on its charger: Safe falls back to Passive at once
    // Asleep, as a robot left in Passive mode for five minutes: no serial command wakes it
    // (only its Clean or power button would), so it takes nothing and sends nothing.
    bool asleep = false;
    double batteryChargeMah = 2500;  // of kBatteryCapacityMah (packet 26)
    double drivingCurrentMa = 1500;  // drawn with both wheels at full speed, beyond the idle draw
    // Every that many stream periods the robot keeps a snapshot for a watcher (a window,
    // a video), so that what is watched follows the robot's own time (0: none kept).
    int snapshotEveryTicks = 0;
};

using Mode = oi::Mode;
enum class Wheel { Left, Right };

// The robot as one who watches it sees it at the end of a stream period. The furniture
// and what the light bumps read follow from the room and the pose.
struct RobotSnapshot {
    unsigned long tick = 0;  // stream periods since Start
    double seconds = 0;      // the robot's own time then: tick stream periods
    Pose pose;
    unsigned bumps = 0;  // bit 0: right bumper, bit 1: left bumper
    Mode mode = Mode::Off;
    double batteryChargeMah = 0;
};

// Times are in milliseconds since Start: a test that fails on timing can show when each
// command came and each frame went.
struct Command {
    unsigned char opcode = 0;
    std::vector<unsigned char> data;
    int atMs = 0;  // when its last byte was read
};

struct SentFrame {
    std::vector<unsigned char> bytes;  // as written, header to checksum
    bool intact = false;               // right checksum and every byte written
    int atMs = 0;                      // when its last byte was written
};

class EmulatedRobot {
public:
    explicit EmulatedRobot(const RobotOptions& options = {});
    ~EmulatedRobot();  // stops the robot
    EmulatedRobot(const EmulatedRobot&) = delete;
    EmulatedRobot& operator=(const EmulatedRobot&) = delete;

    // Opens the pseudo-terminal and starts the robot. On failure returns false and
    // LastError() says why.
    bool Start();
    void Stop();                     // idempotent; closes the pseudo-terminal
    std::string DevicePath() const;  // the terminal the controller opens, e.g. /dev/pts/3
    std::string LastError() const;

    // Everything received since Start, as raw bytes and as decoded commands.
    std::vector<unsigned char> ReceivedBytes() const;
    std::vector<Command> ReceivedCommands() const;
    std::size_t ReceivedCommandCount() const;  // all of them, also those no longer kept
    // True once `count` commands with this opcode have arrived; false after the time-out.
    bool WaitForCommand(unsigned char opcode, int timeoutMs, std::size_t count = 1) const;

    // The stream frames written so far, in order: the latest kKeptFrames of them, so that
    // a long run does not grow without bound (the same holds for the commands and bytes).
    static constexpr std::size_t kKeptFrames = 100000;
    std::vector<SentFrame> SentFrames() const;
    std::size_t SentFrameCount() const;  // all of them, also those no longer kept
    // True once `count` frames have been written; false after the time-out.
    bool WaitForFrames(std::size_t count, int timeoutMs) const;
    // The commands and frames above as text, for the message of a test that failed.
    std::string Timeline() const;

    Pose CurrentPose() const;
    void SetPose(const Pose& pose);
    Mode CurrentMode() const;
    double BatteryChargeMah() const;
    bool Streaming() const;                              // a stream was requested and is not paused
    std::array<std::uint16_t, 2> EncoderCounts() const;  // left, right
    RunTally Tally() const;
    // A stalled wheel stops turning: it neither moves the robot nor advances its encoder.
    void StallWheel(Wheel wheel, bool stalled);
    // A muted robot keeps taking commands but streams nothing, as if its stream had stopped.
    // Once Mute(true) returns, no frame is written until Mute(false).
    void Mute(bool muted);
    // Hangs the line up, as a cable pulled out: the controller's end sees the hang-up.
    void Unplug();

    // The robot now, whatever `snapshotEveryTicks` says.
    RobotSnapshot Snapshot() const;
    // The snapshots kept every `snapshotEveryTicks` periods since the last call, oldest
    // first. At most kKeptSnapshots wait for a watcher; older ones are dropped and counted.
    static constexpr std::size_t kKeptSnapshots = 10000;
    std::vector<RobotSnapshot> TakeSnapshots();
    std::size_t DroppedSnapshots() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace emulator
