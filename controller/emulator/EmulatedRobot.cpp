#include "EmulatedRobot.h"

#include "OpenInterface.h"
#include "OpenInterfaceDecoder.h"
#include "RobotBody.h"
#include "RobotTimeline.h"
#include "SensorPackets.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <random>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace emulator {

namespace {

using Clock = std::chrono::steady_clock;

int Signed16(unsigned char high, unsigned char low)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
}

bool MovesWheels(Mode mode)
{
    return mode == Mode::Safe || mode == Mode::Full;
}

constexpr std::size_t kKeptBytes = 1 << 22;
constexpr std::size_t kKeptCommands = 1000000;

// Drops the oldest half once a record is full: memory stays bounded, and the erase costs
// little spread over the entries that filled it.
template <class T>
void KeepLatest(std::vector<T>& record, std::size_t kept)
{
    if (record.size() > kept) record.erase(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(kept / 2));
}

}  // namespace

struct EmulatedRobot::State {
    explicit State(const RobotOptions& opts)
        : options(opts), body(Room(opts.roomWidthMm, opts.roomDepthMm, opts.furniture), opts.start), random(opts.seed),
          batteryMah(opts.batteryChargeMah)
    {
        if (opts.randomEncoderStart) body.SetEncoderCounts(random() % 65536, random() % 65536);
    }

    const RobotOptions options;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    RobotBody body;
    Mode mode = Mode::Off;
    std::vector<unsigned char> streamIds;
    bool streamPaused = false;
    unsigned char motorBits = 0;
    std::vector<unsigned char> received;
    std::vector<Command> commands;
    std::vector<SentFrame> frames;
    std::string devicePath;
    std::string lastError;

    // Owned by the robot's thread once it runs.
    int master = -1;
    int slave = -1;  // kept open so the line never hangs up between two controllers
    std::thread thread;
    std::atomic<bool> running{false};
    std::atomic<bool> muted{false};
    std::atomic<bool> unplugRequested{false};
    Clock::time_point started;
    bool wheelDropped = false;
    std::mt19937 random;
    OpenInterfaceDecoder decoder;
    unsigned long frameNumber = 0;
    double batteryMah;  // under `mutex`
    std::size_t framesSent = 0;
    unsigned long ticks = 0;              // under `mutex`, with `changed` notified
    bool threadEnded = false;             // likewise
    std::size_t commandsReceived = 0;     // under `mutex`
    std::deque<RobotSnapshot> snapshots;  // under `mutex`
    std::size_t snapshotsDropped = 0;     // likewise

    void Run();
    void TakeInput();
    void Apply(const Command& command);  // with `mutex` held
    void Answer(const std::vector<unsigned char>& ids);
    void Tick(double seconds);
    void FallBackOnDanger();     // with `mutex` held
    void Drain(double seconds);  // with `mutex` held
    RobotSnapshot Snapshot() const
    {  // with `mutex` held
        return RobotSnapshot{
            ticks, ticks * (options.streamPeriodMs / 1000.0), body.CurrentPose(), body.Bumps(), mode, batteryMah};
    }
    void KeepSnapshot();  // with `mutex` held
    SensorState Sensors() const
    {  // with `mutex` held
        return SensorState{body, mode, static_cast<int>(streamIds.size()), batteryMah, options.docked};
    }
    void SendFrame(std::vector<unsigned char> frame);
    std::size_t Write(const unsigned char* bytes, std::size_t count);
    std::vector<unsigned char> Noise();
    int NowMs() const
    {
        return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count());
    }
};

void EmulatedRobot::State::Run()
{
    const auto period = std::chrono::milliseconds(options.streamPeriodMs);
    auto nextTick = Clock::now() + period;
    while (running) {
        const int elapsedMs = NowMs();
        if (options.faults.unplugAfterMs >= 0 && elapsedMs >= options.faults.unplugAfterMs) unplugRequested = true;
        if (unplugRequested) {
            // The master end closed with the slave it keeps: the line is hung up for good.
            if (slave >= 0) ::close(slave);
            if (master >= 0) ::close(master);
            slave = master = -1;
            break;
        }
        if (options.faults.muteAfterMs >= 0 && elapsedMs >= options.faults.muteAfterMs) muted = true;
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now());
        pollfd line{master, POLLIN, 0};
        if (::poll(&line, 1, static_cast<int>(std::max<long long>(0, wait.count()))) > 0 && (line.revents & POLLIN))
            TakeInput();
        if (Clock::now() >= nextTick) {
            Tick(options.streamPeriodMs / 1000.0);
            {
                std::lock_guard<std::mutex> lock(mutex);
                ++ticks;
                if (options.snapshotEveryTicks > 0 &&
                    ticks % static_cast<unsigned long>(options.snapshotEveryTicks) == 0)
                    KeepSnapshot();
            }
            changed.notify_all();
            nextTick += period;
            // After a long stall (a loaded machine) start afresh instead of bursting.
            if (Clock::now() > nextTick + 10 * period) nextTick = Clock::now() + period;
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        threadEnded = true;
    }
    changed.notify_all();
}

// A copy of a few numbers: the stream's thread never waits for whoever draws them.
void EmulatedRobot::State::KeepSnapshot()
{
    snapshots.push_back(Snapshot());
    if (snapshots.size() > EmulatedRobot::kKeptSnapshots) {
        snapshots.pop_front();
        ++snapshotsDropped;
    }
}

void EmulatedRobot::State::TakeInput()
{
    unsigned char bytes[256];
    const ssize_t count = ::read(master, bytes, sizeof bytes);
    if (count <= 0) return;
    std::vector<Command> decoded = decoder.Feed(bytes, static_cast<int>(count));
    const int nowMs = NowMs();
    for (Command& command : decoded) command.atMs = nowMs;
    std::vector<std::vector<unsigned char>> queries;
    {
        std::lock_guard<std::mutex> lock(mutex);
        received.insert(received.end(), bytes, bytes + count);
        KeepLatest(received, kKeptBytes);
        for (const Command& command : decoded) {
            commands.push_back(command);
            ++commandsReceived;
            KeepLatest(commands, kKeptCommands);
            Apply(command);
            if (mode == Mode::Off) continue;
            if (command.opcode == 142) queries.push_back(command.data);
            if (command.opcode == 149) queries.emplace_back(command.data.begin() + 1, command.data.end());
        }
    }
    changed.notify_all();
    for (const auto& ids : queries) Answer(ids);
}

void EmulatedRobot::State::Apply(const Command& command)
{
    const auto& d = command.data;
    if (mode == Mode::Off && (options.asleep || command.opcode != oi::opcode::Start)) return;  // off until Start
    switch (command.opcode) {
    case oi::opcode::Start:
    case 133:  // Power
    case 134:  // Spot
    case 135:  // Clean
    case 136:  // Max
    case 143:  // Seek Dock
        mode = Mode::Passive;
        body.SetWheelSpeeds(0, 0);
        break;
    case 130:  // Control, the older name of Safe
    case oi::opcode::Safe:
        mode = Mode::Safe;
        break;
    case oi::opcode::Full:
        mode = Mode::Full;
        break;
    case 173:  // Stop
        mode = Mode::Off;
        body.SetWheelSpeeds(0, 0);
        streamIds.clear();
        break;
    case 137: {  // Drive: velocity and turn radius
        if (!MovesWheels(mode)) break;
        const double velocity = Signed16(d[0], d[1]);
        const int radius = Signed16(d[2], d[3]);
        const double half = RobotBody::kWheelBaseMm / 2;
        if (radius == -32768 || radius == 32767 || radius == 0)
            body.SetWheelSpeeds(velocity, velocity);
        else if (radius == 1)
            body.SetWheelSpeeds(velocity, -velocity);
        else if (radius == -1)
            body.SetWheelSpeeds(-velocity, velocity);
        else
            body.SetWheelSpeeds(velocity * (radius + half) / radius, velocity * (radius - half) / radius);
        break;
    }
    case oi::opcode::Motors:
        motorBits = d[0];
        break;
    case 145:  // Drive Direct: right then left velocity
        if (MovesWheels(mode)) body.SetWheelSpeeds(Signed16(d[0], d[1]), Signed16(d[2], d[3]));
        break;
    case oi::opcode::DrivePwm:  // right then left duty
        if (MovesWheels(mode)) body.SetDuties(Signed16(d[0], d[1]), Signed16(d[2], d[3]));
        break;
    case oi::opcode::Stream: {
        // A frame whose count byte would wrap cannot be sent: the request is ignored.
        std::size_t payload = 0;
        for (std::size_t i = 1; i < d.size(); ++i)
            if (PacketSize(d[i]) > 0) payload += 1 + static_cast<std::size_t>(PacketSize(d[i]));
        if (payload > oi::kLongestPayload) break;
        streamIds.assign(d.begin() + 1, d.end());
        streamPaused = false;
        break;
    }
    case oi::opcode::PauseResumeStream:
        streamPaused = d[0] == 0;
        break;
    default:
        break;  // taken with its data, without effect here
    }
}

void EmulatedRobot::State::Answer(const std::vector<unsigned char>& ids)
{
    std::vector<unsigned char> reply;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const SensorState sensors = Sensors();
        for (unsigned char id : ids) AppendPacket(sensors, id, reply);
    }
    Write(reply.data(), reply.size());
}

void EmulatedRobot::State::Tick(double seconds)
{
    std::vector<unsigned char> frame;
    {
        std::lock_guard<std::mutex> lock(mutex);
        body.Step(seconds);
        Drain(seconds);
        FallBackOnDanger();
        if (mode == Mode::Off || streamIds.empty() || streamPaused || options.faults.silent || muted) return;
        frame = StreamFrame(Sensors(), streamIds);
    }
    SendFrame(std::move(frame));
}

void EmulatedRobot::State::Drain(double seconds)
{
    constexpr double kIdleMa = 150;
    const double load = (std::abs(body.WheelSpeed(Wheel::Left)) + std::abs(body.WheelSpeed(Wheel::Right))) / 1000.0;
    const double currentMa = mode == Mode::Off ? 0 : kIdleMa + options.drivingCurrentMa * load;
    batteryMah = std::max(0.0, batteryMah - currentMa * seconds / 3600.0);
}

// In Safe mode the robot looks after itself: a cliff ahead or a dropped wheel stops the
// wheels and drops it to Passive, where it no longer obeys drive commands.
void EmulatedRobot::State::FallBackOnDanger()
{
    if (!MovesWheels(mode) || mode == Mode::Full) return;
    const int elapsedMs = NowMs();
    if (options.faults.wheelDropAfterMs >= 0 && elapsedMs >= options.faults.wheelDropAfterMs && !wheelDropped) {
        wheelDropped = true;
        mode = Mode::Passive;
    }
    if (options.docked) mode = Mode::Passive;
    const Cliff& cliff = options.cliff;
    if (cliff.present) {
        const Pose pose = body.CurrentPose();
        const double heading = pose.headingDeg * 3.14159265358979323846 / 180.0;
        const double frontX = pose.xMm + RobotBody::kRadiusMm * std::cos(heading);
        const double frontY = pose.yMm + RobotBody::kRadiusMm * std::sin(heading);
        if (std::abs(frontX - cliff.xMm) <= cliff.sideMm / 2 && std::abs(frontY - cliff.yMm) <= cliff.sideMm / 2)
            mode = Mode::Passive;
    }
    if (mode == Mode::Passive) body.SetWheelSpeeds(0, 0);
}

void EmulatedRobot::State::SendFrame(std::vector<unsigned char> frame)
{
    const FaultInjection& faults = options.faults;
    ++frameNumber;
    bool intact = true;
    if (faults.corruptEvery > 0 && frameNumber % static_cast<unsigned long>(faults.corruptEvery) == 0) {
        frame.back() = static_cast<unsigned char>(frame.back() + 1 + random() % 255);
        intact = false;
    }
    if (faults.noise) {
        const std::vector<unsigned char> noise = Noise();
        Write(noise.data(), noise.size());
    }
    std::size_t written = 0;
    std::size_t cuts[2] = {frame.size(), frame.size()};
    if (faults.splitFrames && frame.size() > 1) {
        // One or two cuts anywhere in the frame, with a pause after each piece so that
        // the pieces reach the controller in separate reads.
        cuts[0] = 1 + random() % (frame.size() - 1);
        cuts[1] = cuts[0] + random() % (frame.size() - cuts[0] + 1);
    }
    for (std::size_t end : {cuts[0], cuts[1], frame.size()}) {
        if (end <= written) continue;
        const std::size_t wanted = end - written;
        const std::size_t sent = Write(frame.data() + written, wanted);
        written += sent;
        if (sent < wanted) break;
        if (written < frame.size()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const bool whole = intact && written == frame.size();
    {
        std::lock_guard<std::mutex> lock(mutex);
        frames.push_back(SentFrame{std::move(frame), whole, NowMs()});
        KeepLatest(frames, EmulatedRobot::kKeptFrames);
        ++framesSent;
    }
    changed.notify_all();
}

std::vector<unsigned char> EmulatedRobot::State::Noise()
{
    std::vector<unsigned char> noise;
    if (random() % 2 == 0) return noise;
    // A false header followed by a plausible count is the hardest noise to resynchronise on.
    if (random() % 2 == 0) noise.push_back(19);
    const int extra = 1 + static_cast<int>(random() % 5);
    for (int i = 0; i < extra; ++i) noise.push_back(static_cast<unsigned char>(random()));
    return noise;
}

std::size_t EmulatedRobot::State::Write(const unsigned char* bytes, std::size_t count)
{
    std::size_t written = 0;
    while (written < count) {
        const ssize_t n = ::write(master, bytes + written, count - written);
        if (n < 0 && errno == EINTR) continue;
        // Nobody reads the line and its queue is full: the rest is lost, as on a real cable.
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    return written;
}

EmulatedRobot::EmulatedRobot(const RobotOptions& options) : state_(std::make_unique<State>(options)) {}

EmulatedRobot::~EmulatedRobot()
{
    Stop();
}

bool EmulatedRobot::Start()
{
    State& s = *state_;
    if (s.running) return true;
    s.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char name[128] = {};
    if (s.master < 0 || ::grantpt(s.master) != 0 || ::unlockpt(s.master) != 0 ||
        ::ptsname_r(s.master, name, sizeof name) != 0) {
        s.lastError = std::string("pseudo-terminal: ") + std::strerror(errno);
        Stop();
        return false;
    }
    s.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (s.slave < 0 || ::tcgetattr(s.slave, &raw) != 0) {
        s.lastError = std::string(name) + ": " + std::strerror(errno);
        Stop();
        return false;
    }
    // Raw from the start, so that a controller that does not configure the line still
    // gets the bytes as sent.
    ::cfmakeraw(&raw);
    ::tcsetattr(s.slave, TCSANOW, &raw);
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.devicePath = name;
    }
    s.running = true;
    s.threadEnded = false;
    s.started = Clock::now();
    s.thread = std::thread([&s] { s.Run(); });
    return true;
}

void EmulatedRobot::Stop()
{
    State& s = *state_;
    s.running = false;
    if (s.thread.joinable()) s.thread.join();
    if (s.slave >= 0) ::close(s.slave);
    if (s.master >= 0) ::close(s.master);
    s.slave = s.master = -1;
}

std::string EmulatedRobot::DevicePath() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->devicePath;
}

std::string EmulatedRobot::LastError() const
{
    return state_->lastError;
}

std::vector<unsigned char> EmulatedRobot::ReceivedBytes() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->received;
}

std::vector<Command> EmulatedRobot::ReceivedCommands() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->commands;
}

std::size_t EmulatedRobot::ReceivedCommandCount() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->commandsReceived;
}

bool EmulatedRobot::WaitForCommand(unsigned char opcode, int timeoutMs, std::size_t count) const
{
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        std::size_t seen = 0;
        for (const Command& command : state_->commands) seen += command.opcode == opcode;
        return seen >= count;
    });
}

std::vector<SentFrame> EmulatedRobot::SentFrames() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->frames;
}

bool EmulatedRobot::WaitForFrames(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [&] { return state_->frames.size() >= count; });
}

std::string EmulatedRobot::Timeline() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    // A run of frames ends where the stream missed more than two beats.
    return FormatTimeline(state_->commands, state_->frames, 3 * state_->options.streamPeriodMs);
}

Pose EmulatedRobot::CurrentPose() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->body.CurrentPose();
}

void EmulatedRobot::SetPose(const Pose& pose)
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->body.SetPose(pose);
}

double EmulatedRobot::BatteryChargeMah() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->batteryMah;
}

std::size_t EmulatedRobot::SentFrameCount() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->framesSent;
}

Mode EmulatedRobot::CurrentMode() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->mode;
}

bool EmulatedRobot::Streaming() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->mode != Mode::Off && !state_->streamIds.empty() && !state_->streamPaused;
}

std::array<std::uint16_t, 2> EmulatedRobot::EncoderCounts() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return {state_->body.EncoderCount(Wheel::Left), state_->body.EncoderCount(Wheel::Right)};
}

RunTally EmulatedRobot::Tally() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->body.Tally();
}

void EmulatedRobot::Mute(bool muted)
{
    State& s = *state_;
    std::unique_lock<std::mutex> lock(s.mutex);
    s.muted = muted;
    if (!muted || !s.thread.joinable()) return;
    // A frame already on its way when the robot was muted still goes out: the current
    // tick is waited for, so that a test can count on no frame at all after this.
    const unsigned long tick = s.ticks;
    s.changed.wait(lock, [&] { return s.ticks != tick || s.threadEnded; });
}

void EmulatedRobot::Unplug()
{
    state_->unplugRequested = true;
    if (state_->thread.joinable()) state_->thread.join();
}

RobotSnapshot EmulatedRobot::Snapshot() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->Snapshot();
}

std::vector<RobotSnapshot> EmulatedRobot::TakeSnapshots()
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    std::vector<RobotSnapshot> taken(state_->snapshots.begin(), state_->snapshots.end());
    state_->snapshots.clear();
    return taken;
}

std::size_t EmulatedRobot::DroppedSnapshots() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->snapshotsDropped;
}

void EmulatedRobot::StallWheel(Wheel wheel, bool stalled)
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->body.Stall(wheel, stalled);
}

}  // namespace emulator
