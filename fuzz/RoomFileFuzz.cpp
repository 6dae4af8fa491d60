// The room file on any bytes: a room within the limits whose robot stands free, whose
// body then steps among its furniture without entering it, or a refusal that says why
// in printable text.
#include <cmath>
#include <string>

#include "FuzzArguments.h"
#include "RobotBody.h"
#include "RoomFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    emulator::RoomDescription room;
    std::string error;
    if (!emulator::ParseRoomText(text, "room.txt", room, error)) {
        FUZZ_CHECK(!error.empty());
        for (char c : error) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
        return 0;
    }
    FUZZ_CHECK(error.empty());
    namespace limits = emulator::room_limits;
    FUZZ_CHECK(room.furniture.boxes.size() + room.furniture.cylinders.size() <= limits::kPieces);
    FUZZ_CHECK(emulator::RoomSideAcceptable(room.widthMm) && emulator::RoomSideAcceptable(room.depthMm));
    if (!room.hasStart) return 0;
    const emulator::Room geometry(room.widthMm, room.depthMm, room.furniture);
    FUZZ_CHECK(emulator::BodyFits(geometry, room.start));
    // A few steps of a spin and a drive: the body stays out of everything, its sensors in range.
    emulator::RobotBody body(geometry, room.start);
    body.SetDuties(255, 120);
    for (int i = 0; i < 20; ++i) {
        body.Step(0.05);
        const emulator::Pose pose = body.CurrentPose();
        FUZZ_CHECK(geometry.Clearance(pose.xMm, pose.yMm) >= emulator::RobotBody::kRadiusMm - 1e-6);
        for (auto signal : body.LightSignals()) FUZZ_CHECK(signal <= 4095);
    }
    FUZZ_CHECK(std::isfinite(body.Tally().distanceMm));
    return 0;
}
