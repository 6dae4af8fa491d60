#include "SensorPackets.h"

#include <cmath>

#include "OpenInterface.h"

namespace emulator {

namespace {

int Value(const SensorState& state, int id) {
    const RobotBody& body = state.body;
    switch (id) {
        case 7: return static_cast<int>(body.Bumps());
        case 34: return state.docked ? 2 : 0;  // Charging Sources Available: the home base
        case 22: return 15000;  // Voltage, mV
        case 21: return state.docked ? 2 : 0;  // Charging State: full charging on the dock
        case 25: return static_cast<int>(state.batteryChargeMah);
        case 26: return 2696;   // Battery Capacity, mAh
        case 35: return static_cast<int>(state.mode);
        case 38: return state.streamedPackets;
        case 39: return static_cast<int>(std::lround((body.WheelSpeed(Wheel::Right) + body.WheelSpeed(Wheel::Left)) / 2));
        case 41: return static_cast<int>(std::lround(body.WheelSpeed(Wheel::Right)));
        case 42: return static_cast<int>(std::lround(body.WheelSpeed(Wheel::Left)));
        case 43: return body.EncoderCount(Wheel::Left);
        case 44: return body.EncoderCount(Wheel::Right);
        case 45: {
            const auto lights = body.LightSignals();
            int bits = 0;
            for (int s = 0; s < RobotBody::kLightSensors; ++s)
                if (lights[s] > 100) bits |= 1 << s;
            return bits;
        }
        default:
            if (id >= 46 && id <= 51) return body.LightSignals()[id - 46];
            return 0;
    }
}

}  // namespace

int PacketSize(int id) { return oi::PacketSize(id); }

void AppendPacket(const SensorState& state, int id, std::vector<unsigned char>& out) {
    const int value = Value(state, id);
    if (PacketSize(id) == 2) out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
    if (PacketSize(id) >= 1) out.push_back(static_cast<unsigned char>(value & 0xFF));
}

std::vector<unsigned char> StreamFrame(const SensorState& state, const std::vector<unsigned char>& ids) {
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
