#pragma once
#include "EmulatedRobot.h"
#include "Room.h"

#include <cstdint>
#include <string>
#include <vector>

// Where the drives of a tuning start: poses drawn from a seed, the same everywhere, in
// each room in turn, clear of the walls and the furniture by at least kStartClearanceMm
// so that no drive begins with a contact.
struct DriveStart {
    int room = 0;  // index in the rooms given
    emulator::Pose pose;
};

constexpr double kStartClearanceMm = 50;

// `perRoom` starts in each room. False, with `error`, for a room with no free floor found
// in a bounded number of draws.
bool DrawDriveStarts(const std::vector<emulator::Room>& rooms, int perRoom, std::uint64_t seed,
                     std::vector<DriveStart>& starts, std::string& error);
