#include "SensorPackets.h"

#include <cmath>

#include "OpenInterface.h"

namespace emulator {

namespace {

int Value(const SensorState& state, int id)
{
    namespace packet = oi::packet;
    const RobotBody& body = state.body;
    switch (id) {
    case packet::BumpsAndWheelDrops:
        return static_cast<int>(body.Bumps());
    case packet::ChargingState:
        return state.docked ? 2 : 0;  // full charging on the dock
    case packet::Voltage:
        return 15000;  // mV
    case packet::BatteryCharge:
        return static_cast<int>(state.batteryChargeMah);
    case packet::BatteryCapacity:
        return kBatteryCapacityMah;
    case packet::ChargingSourcesAvailable:
        return state.docked ? 2 : 0;  // the home base
    case packet::OiMode:
        return static_cast<int>(state.mode);
    case packet::NumberOfStreamPackets:
        return state.streamedPackets;
    case packet::RequestedVelocity:
        return static_cast<int>(std::lround((body.WheelSpeed(Wheel::Right) + body.WheelSpeed(Wheel::Left)) / 2));
    case packet::RequestedRightVelocity:
        return static_cast<int>(std::lround(body.WheelSpeed(Wheel::Right)));
    case packet::RequestedLeftVelocity:
        return static_cast<int>(std::lround(body.WheelSpeed(Wheel::Left)));
    case packet::LeftEncoderCounts:
        return body.EncoderCount(Wheel::Left);
    case packet::RightEncoderCounts:
        return body.EncoderCount(Wheel::Right);
    case packet::LightBumper: {
        const auto lights = body.LightSignals();
        int bits = 0;
        for (int s = 0; s < kLightSensors; ++s)
            if (lights[s] > 100) bits |= 1 << s;
        return bits;
    }
    default:
        if (id >= packet::LightBumpLeftSignal && id <= packet::LightBumpRightSignal)
            return body.LightSignals()[id - packet::LightBumpLeftSignal];
        return 0;
    }
}

}  // namespace

int PacketSize(int id)
{
    return oi::PacketSize(id);
}

void AppendPacket(const SensorState& state, int id, std::vector<unsigned char>& out)
{
    const int value = Value(state, id);
    if (PacketSize(id) == 2) out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
    if (PacketSize(id) >= 1) out.push_back(static_cast<unsigned char>(value & 0xFF));
}

std::vector<unsigned char> StreamFrame(const SensorState& state, const std::vector<unsigned char>& ids)
{
    std::vector<unsigned char> frame{19, 0};
    for (unsigned char id : ids) {
        if (PacketSize(id) == 0) continue;
        frame.push_back(id);
        AppendPacket(state, id, frame);
    }
    frame[1] = static_cast<unsigned char>(frame.size() - 2);
    unsigned sum = 0;
    for (unsigned char b : frame) sum += b;
    frame.push_back(static_cast<unsigned char>((256 - sum % 256) % 256));
    return frame;
}

}  // namespace emulator
