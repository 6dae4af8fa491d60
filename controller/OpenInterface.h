#pragma once

// The robot's published serial protocol, for the controller and the emulator alike: the
// command opcodes, the sensor packet ids that either side names, and the data size of
// every sensor packet as it travels in a stream frame.
namespace oi {

namespace opcode {
constexpr unsigned char Start = 128;
constexpr unsigned char Safe = 131;
constexpr unsigned char Full = 132;
constexpr unsigned char Motors = 138;
constexpr unsigned char DrivePwm = 146;
constexpr unsigned char Stream = 148;
constexpr unsigned char PauseResumeStream = 150;
}  // namespace opcode

namespace packet {
constexpr int BumpsAndWheelDrops = 7;
constexpr int ChargingState = 21;
constexpr int Voltage = 22;
constexpr int BatteryCharge = 25;
constexpr int BatteryCapacity = 26;
constexpr int ChargingSourcesAvailable = 34;
constexpr int OiMode = 35;
constexpr int NumberOfStreamPackets = 38;
constexpr int RequestedVelocity = 39;
constexpr int RequestedRightVelocity = 41;
constexpr int RequestedLeftVelocity = 42;
constexpr int LeftEncoderCounts = 43;
constexpr int RightEncoderCounts = 44;
constexpr int LightBumper = 45;
constexpr int LightBumpLeftSignal = 46;  // then Front Left, Center Left, Center Right, Front Right
constexpr int LightBumpRightSignal = 51;
}  // namespace packet

// Values of packet 35.
enum class Mode : unsigned char { Off = 0, Passive = 1, Safe = 2, Full = 3 };

// The mode's name as the Open Interface documents it; null for a value that is no mode.
constexpr const char* ModeName(Mode mode)
{
    switch (mode) {
    case Mode::Off:
        return "Off";
    case Mode::Passive:
        return "Passive";
    case Mode::Safe:
        return "Safe";
    case Mode::Full:
        return "Full";
    }
    return nullptr;
}

constexpr unsigned char kStreamHeader = 19;
constexpr int kPacketIds = 64;  // ids 0 .. 63; the robot defines sizes for 7 .. 58

// Data bytes of a packet in a stream frame; 0 for an id the robot does not stream.
constexpr int PacketSize(int id)
{
    constexpr unsigned char kSizes[kPacketIds] = {
        0, 0, 0, 0, 0, 0, 0,                    // 0 .. 6: groups, never streamed singly
        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,     // 7 .. 18
        2, 2, 1, 2, 2, 1, 2, 2, 2, 2, 2, 2, 2,  // 19 .. 31
        1, 2, 1, 1, 1, 1, 1,                    // 32 .. 38
        2, 2, 2, 2, 2, 2, 1,                    // 39 .. 45
        2, 2, 2, 2, 2, 2,                       // 46 .. 51
        1, 1, 2, 2, 2, 2, 1,                    // 52 .. 58
        0, 0, 0, 0, 0,                          // 59 .. 63
    };
    return id < 0 || id >= kPacketIds ? 0 : kSizes[id];
}

// Header, count byte, at most 255 payload bytes, checksum.
constexpr int kLongestFrame = 258;
constexpr int kLongestPayload = 255;

}  // namespace oi
