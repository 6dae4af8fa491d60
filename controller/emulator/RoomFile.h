#pragma once
#include "EmulatedRobot.h"
#include "Room.h"

#include <cstddef>
#include <string>

// The room file: plain text, `#` starts a comment, millimetres and degrees, origin at the
// room's lower-left corner, one statement a line:
//   room WIDTH DEPTH            the first statement: the walls all round
//   box X Y WIDTH DEPTH [ANGLE] a box centred at X Y, turned by ANGLE (default 0)
//   cylinder X Y RADIUS         a round leg
//   start X Y HEADING           where the robot starts (optional)
// A file is taken whole or refused whole, with the line and the reason. It is read by
// users, so everything it can ask for is bounded before it is believed.
namespace emulator {

namespace room_limits {
constexpr std::size_t kFileBytes = 65536;
constexpr std::size_t kLineCharacters = 200;
constexpr std::size_t kPieces = 500;
constexpr double kSmallestRoomMm = 400;  // a room must be wider than the robot
constexpr double kLargestRoomMm = 100000;
constexpr double kThinnestBoxMm = 10;
constexpr double kThinnestLegMm = 5;  // radius; the light bumps' rays are fine enough for it
constexpr double kLargestAngleDeg = 3600;
}  // namespace room_limits

struct RoomDescription {
    double widthMm = 0;
    double depthMm = 0;
    Furniture furniture;
    bool hasStart = false;
    Pose start;
};

// `name` is what the messages call the text (its file's path).
bool ParseRoomText(const std::string& text, const std::string& name, RoomDescription& room, std::string& error);
bool ReadRoomFile(const std::string& path, RoomDescription& room, std::string& error);

// True when the robot's body stands at `pose` without touching a wall or a piece.
bool BodyFits(const Room& room, const Pose& pose);
// A room side as `--room WxD` or the file give it: within the limits above.
bool RoomSideAcceptable(double millimetres);

}  // namespace emulator
