#pragma once
#include "EmulatedRobot.h"
#include "RobotBody.h"

#include <vector>

namespace emulator {

// What the robot's sensor packets hold at one instant.
struct SensorState {
    const RobotBody& body;
    Mode mode;
    int streamedPackets;
    double batteryChargeMah;
    bool docked;
};

// Data bytes of a single sensor packet (7 to 58); 0 for an id the robot does not stream.
int PacketSize(int id);
// Appends the packet's data bytes, high byte first.
void AppendPacket(const SensorState& state, int id, std::vector<unsigned char>& out);
// A whole stream frame: 19, the count, (id, data) for every id the robot knows, and the
// checksum that brings the sum of all its bytes to 0.
std::vector<unsigned char> StreamFrame(const SensorState& state, const std::vector<unsigned char>& ids);

}  // namespace emulator
