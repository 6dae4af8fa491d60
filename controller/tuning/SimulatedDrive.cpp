#include "SimulatedDrive.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "AccesRobot.h"
#include "CommandeRobot.h"
#include "FloorCoverage.h"
#include "LectureID.h"
#include "PaquetsDemandes.h"
#include "RobotBody.h"
#include "SensorPackets.h"
#include "VariablesFloues.h"

namespace {

// The robot as the controller sees it during a simulated drive.
class SimulatedRobot {
public:
    SimulatedRobot(const emulator::Room& room, const emulator::Pose& start, double seconds)
        : body_(room, start), endMs_(static_cast<long>(std::llround(seconds * 1000))), coverage_(room)
    {
        const emulator::Pose pose = body_.CurrentPose();
        coverage_.Mark(pose.xMm, pose.yMm);
    }

    // The reception thread's next read pass, kReadPassMs later: it brings a frame only
    // when the robot's next one is due, and the controller's turn reads whatever the
    // last frame said until then.
    void NextReadPass()
    {
        clockMs_ += kReadPassMs;
        if (clockMs_ >= nextFrameMs_) TakeFrame();
    }
    // Waiting for the next frame itself, as the controller's loop does between commands.
    void NextFrame()
    {
        clockMs_ = nextFrameMs_;
        TakeFrame();
    }
    int FrameAgeMs() const { return static_cast<int>(clockMs_ - (nextFrameMs_ - kFramePeriodMs)); }
    void Drive(long right, long left)
    {
        body_.SetDuties(static_cast<int>(right), static_cast<int>(left));
        ++commands_;
    }
    void CopySensors(dataSensor copy[64]) const { std::memcpy(copy, sensors_, sizeof sensors_); }
    int ClockMs() const { return static_cast<int>(clockMs_); }
    bool Over() const { return clockMs_ >= endMs_; }

    DriveFigures Figures() const
    {
        DriveFigures figures;
        figures.tally = body_.Tally();
        figures.coverage = coverage_.Share();
        figures.frames = frames_;
        figures.commands = commands_;
        return figures;
    }

private:
    // The robot's next frame: the body moves with the duties it was last given, then streams.
    void TakeFrame()
    {
        body_.Step(kFramePeriodMs / 1000.0);
        nextFrameMs_ += kFramePeriodMs;
        ++frames_;
        const emulator::Pose pose = body_.CurrentPose();
        coverage_.Mark(pose.xMm, pose.yMm);
        ReadSensors();
    }
    // The packets Trundel streams, encoded as the robot encodes them, in the slots of the
    // controller's sensor table.
    void ReadSensors()
    {
        const emulator::SensorState state{body_, oi::Mode::Safe, static_cast<int>(paquetsDemandes.size()),
                                          kBatteryChargeMah, false};
        for (unsigned id : paquetsDemandes) {
            bytes_.clear();
            emulator::AppendPacket(state, static_cast<int>(id), bytes_);
            sensors_[id].nBytes = static_cast<int>(bytes_.size());
            for (std::size_t b = 0; b < bytes_.size() && b < sizeof sensors_[id].data; ++b)
                sensors_[id].data[b] = bytes_[b];
        }
    }

    static constexpr double kBatteryChargeMah = 2500;  // shown on the status line only
    emulator::RobotBody body_;
    long endMs_;
    long clockMs_ = 0;
    long nextFrameMs_ = kFramePeriodMs;
    std::size_t frames_ = 0;
    std::size_t commands_ = 0;
    FloorCoverage coverage_;
    dataSensor sensors_[64] = {};
    std::vector<unsigned char> bytes_;
};

SimulatedRobot* robot = nullptr;

void ReadSensors(dataSensor copy[64])
{
    robot->CopySensors(copy);
}
bool WaitForRead(int)
{
    robot->NextReadPass();
    return true;
}
bool Drive(long right, long left)
{
    robot->Drive(right, left);
    return true;
}
int Clock()
{
    return robot->ClockMs();
}
// The drive's end stops a turn as a key would, wheels stopped.
bool StopRequested()
{
    return robot->Over();
}
int FrameAge()
{
    return robot->FrameAgeMs();
}

// Puts the simulated robot behind accesRobot for the drive, the real link back after.
class RobotSwap {
public:
    explicit RobotSwap(SimulatedRobot& simulated) : saved_(accesRobot)
    {
        robot = &simulated;
        accesRobot = AccesRobot{ReadSensors, WaitForRead, Drive, Clock, StopRequested, FrameAge};
    }
    ~RobotSwap()
    {
        accesRobot = saved_;
        robot = nullptr;
    }
    RobotSwap(const RobotSwap&) = delete;
    RobotSwap& operator=(const RobotSwap&) = delete;

private:
    AccesRobot saved_;
};

}  // namespace

DriveFigures SimulateDrive(const TableSituations& table, const emulator::Room& room, const emulator::Pose& start,
                           double seconds)
{
    SimulatedRobot simulated(room, start, seconds);
    const RobotSwap swap(simulated);
    AppliquerTableSituations(table);
    // As trundel's loop: the wheels stand until a frame has shown what the robot sees,
    // then each frame gets its inference and its command, a turn taking as many frames
    // as the encoders say it needs.
    accesRobot.piloter(0, 0);
    while (!simulated.Over()) {
        simulated.NextFrame();
        if (simulated.Over()) break;
        ProbVitesseAngle();
        CommandeRobot();
    }
    accesRobot.piloter(0, 0);
    return simulated.Figures();
}
