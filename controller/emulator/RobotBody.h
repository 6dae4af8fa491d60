#pragma once
#include "EmulatedRobot.h"

#include <array>
#include <cstdint>

namespace emulator {

// The robot's body in its room: two driven wheels on a 235 mm base, encoders, a front
// bumper in two halves and six light-bump sensors looking at the walls.
class RobotBody {
public:
    static constexpr double kWheelDiameterMm = 72.0;
    static constexpr double kWheelBaseMm = 235.0;
    static constexpr double kCountsPerTurn = 508.8;
    static constexpr double kRadiusMm = 170.0;
    static constexpr double kLightRangeMm = 250.0;
    static constexpr int kLightSensors = 6;  // Left, Front Left, Center Left, Center Right, Front Right, Right

    RobotBody(double roomWidthMm, double roomDepthMm, const Pose& start);

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
    // 0 (nothing in range) to 4095 (touching), in the sensors' order above.
    std::array<std::uint16_t, kLightSensors> LightSignals() const;

private:
    void KeepInsideRoom();

    double width_;
    double depth_;
    double x_;
    double y_;
    double heading_;            // radians, not wrapped
    double speed_[2] = {0, 0};  // indexed by Wheel
    bool stalled_[2] = {false, false};
    double counts_[2] = {0, 0};
    unsigned bumps_ = 0;
};

}  // namespace emulator
