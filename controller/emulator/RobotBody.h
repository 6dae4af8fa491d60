#pragma once
#include "EmulatedRobot.h"
#include "LightBumps.h"
#include "Room.h"
#include "RunTally.h"

#include <cstdint>
#include <vector>

namespace emulator {

// The robot's body in its room: a disc with two driven wheels on a 235 mm base, encoders,
// a front bumper in two halves and six light-bump sensors looking at the walls and the
// furniture. It never overlaps either: a move that would is slid along what it meets, or
// refused where the body is wedged. Stepped by whoever owns it, with no clock of its own.
class RobotBody {
public:
    static constexpr double kWheelDiameterMm = 72.0;
    static constexpr double kWheelBaseMm = 235.0;
    static constexpr double kCountsPerTurn = 508.8;
    static constexpr double kRadiusMm = 170.0;

    RobotBody(double roomWidthMm, double roomDepthMm, const Pose& start);
    RobotBody(Room room, const Pose& start);

    // Wheel speeds from Drive PWM duties: +-255 is +-500 mm/s, beyond is clamped.
    void SetDuties(int right, int left);
    void SetWheelSpeeds(double rightMmPerS, double leftMmPerS);
    void Stall(Wheel wheel, bool stalled);
    void Step(double seconds);

    Pose CurrentPose() const;
    void SetPose(const Pose& pose);
    double WheelSpeed(Wheel wheel) const;  // as commanded, mm/s
    std::uint16_t EncoderCount(Wheel wheel) const;
    void SetEncoderCounts(unsigned left, unsigned right);
    // Bit 0: right bumper, bit 1: left bumper.
    unsigned Bumps() const { return bumps_; }
    // 0 (nothing in range) to 4095 (touching), Left to Right as LightBumps.h orders them.
    // Cast once per pose: a frame asks for each of the six packets on its own, and the
    // cones are most of a frame's cost. Not to be called from two threads at once.
    LightBumpSignals LightSignals() const;
    // What the body did since it was made: time stepped, path, contacts, closest approach.
    const RunTally& Tally() const { return tally_; }

private:
    void Move(double forwardMm, double turnRad);
    void KeepClearOfEverything();
    void PressBumpers();

    Room room_;
    double x_;
    double y_;
    double heading_;            // radians, not wrapped
    double speed_[2] = {0, 0};  // indexed by Wheel
    bool stalled_[2] = {false, false};
    double counts_[2] = {0, 0};
    unsigned bumps_ = 0;
    RunTally tally_;
    mutable LightBumpSignals lights_{};
    mutable bool lightsKnown_ = false;
    std::vector<NearSurface> near_;  // scratch, kept to spare an allocation every step
};

}  // namespace emulator
