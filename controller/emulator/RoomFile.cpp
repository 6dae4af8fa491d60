#include "RoomFile.h"

#include "RobotBody.h"
#include "common/PrintableText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace emulator {

namespace {

using namespace room_limits;

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t begin = line.find_first_not_of(" \t\r", at);
        if (begin == std::string::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t\r", begin), line.size());
        words.push_back(line.substr(begin, end - begin));
        at = end;
    }
    return words;
}

// A plain decimal number: no hexadecimal, no "inf" or "nan", which strtod would take.
bool Number(const std::string& word, double& value)
{
    if (word.empty() || word.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(word.c_str(), &end);
    return *end == '\0' && errno == 0 && std::isfinite(value);
}

std::string Format(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string OutOf(const char* what, double value, double lowest, double highest)
{
    return std::string(what) + " " + Format(value) + " is outside " + Format(lowest) + ".." + Format(highest);
}

// Parses one statement's line, already cut into words, into `room`; returns the reason
// it cannot, or nothing.
class LineReader {
public:
    LineReader(RoomDescription& room, bool& roomSeen) : room_(room), roomSeen_(roomSeen) {}

    std::string Read(const std::vector<std::string>& words)
    {
        const std::string& keyword = words[0];
        if (!roomSeen_ && keyword != "room") return "the first statement must be \"room WIDTH DEPTH\"";
        std::vector<double> values;
        for (std::size_t i = 1; i < words.size(); ++i) {
            double value = 0;
            if (!Number(words[i], value)) return "\"" + PrintableText(words[i]) + "\" is not a number";
            values.push_back(value);
        }
        if (keyword == "room") return Walls(values);
        if (keyword == "box") return AddBox(values);
        if (keyword == "cylinder") return AddCylinder(values);
        if (keyword == "start") return Start(values);
        return "unknown statement \"" + PrintableText(keyword) + "\" (room, box, cylinder or start)";
    }

private:
    std::string Walls(const std::vector<double>& v)
    {
        if (roomSeen_) return "a second \"room\"";
        if (v.size() != 2) return "\"room\" takes WIDTH DEPTH";
        for (double side : v)
            if (!RoomSideAcceptable(side)) return OutOf("room side", side, kSmallestRoomMm, kLargestRoomMm);
        room_.widthMm = v[0];
        room_.depthMm = v[1];
        roomSeen_ = true;
        return {};
    }

    std::string AddBox(const std::vector<double>& v)
    {
        if (v.size() != 4 && v.size() != 5) return "\"box\" takes X Y WIDTH DEPTH [ANGLE]";
        if (const std::string full = Full(); !full.empty()) return full;
        const Box box{v[0], v[1], v[2], v[3], v.size() == 5 ? v[4] : 0.0};
        for (double side : {box.widthMm, box.depthMm})
            if (side < kThinnestBoxMm || side > kLargestRoomMm)
                return OutOf("box side", side, kThinnestBoxMm, kLargestRoomMm);
        if (std::abs(box.angleDeg) > kLargestAngleDeg)
            return OutOf("angle", box.angleDeg, -kLargestAngleDeg, kLargestAngleDeg);
        // Its corners, turned as the box is.
        const double angle = box.angleDeg * 3.14159265358979323846 / 180.0;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        for (double along : {-0.5, 0.5})
            for (double across : {-0.5, 0.5}) {
                const double x = box.xMm + along * box.widthMm * c - across * box.depthMm * s;
                const double y = box.yMm + along * box.widthMm * s + across * box.depthMm * c;
                if (!Inside(x, y)) return "the box reaches beyond the walls";
            }
        room_.furniture.boxes.push_back(box);
        return {};
    }

    std::string AddCylinder(const std::vector<double>& v)
    {
        if (v.size() != 3) return "\"cylinder\" takes X Y RADIUS";
        if (const std::string full = Full(); !full.empty()) return full;
        const Cylinder leg{v[0], v[1], v[2]};
        if (leg.radiusMm < kThinnestLegMm || leg.radiusMm > kLargestRoomMm / 2)
            return OutOf("radius", leg.radiusMm, kThinnestLegMm, kLargestRoomMm / 2);
        if (!Inside(leg.xMm - leg.radiusMm, leg.yMm - leg.radiusMm) ||
            !Inside(leg.xMm + leg.radiusMm, leg.yMm + leg.radiusMm))
            return "the cylinder reaches beyond the walls";
        room_.furniture.cylinders.push_back(leg);
        return {};
    }

    std::string Start(const std::vector<double>& v)
    {
        if (room_.hasStart) return "a second \"start\"";
        if (v.size() != 3) return "\"start\" takes X Y HEADING";
        if (std::abs(v[2]) > kLargestAngleDeg) return OutOf("heading", v[2], -kLargestAngleDeg, kLargestAngleDeg);
        room_.hasStart = true;
        room_.start = Pose{v[0], v[1], v[2]};
        return {};
    }

    std::string Full() const
    {
        const std::size_t pieces = room_.furniture.boxes.size() + room_.furniture.cylinders.size();
        return pieces < kPieces ? std::string() : "more than " + std::to_string(kPieces) + " pieces of furniture";
    }

    bool Inside(double x, double y) const
    {
        constexpr double kTolerance = 1e-6;  // a piece set against a wall, as written
        return x >= -kTolerance && x <= room_.widthMm + kTolerance && y >= -kTolerance &&
               y <= room_.depthMm + kTolerance;
    }

    RoomDescription& room_;
    bool& roomSeen_;
};

}  // namespace

bool RoomSideAcceptable(double millimetres)
{
    return millimetres > kSmallestRoomMm && millimetres <= kLargestRoomMm;
}

bool BodyFits(const Room& room, const Pose& pose)
{
    return room.Clearance(pose.xMm, pose.yMm) >= RobotBody::kRadiusMm;
}

bool ParseRoomText(const std::string& text, const std::string& name, RoomDescription& room, std::string& error)
{
    const std::string where = PrintableText(name);
    if (text.size() > kFileBytes) {
        error = where + ": larger than " + std::to_string(kFileBytes) + " bytes";
        return false;
    }
    RoomDescription read;
    bool roomSeen = false;
    LineReader reader(read, roomSeen);
    int startLine = 0;
    int lineNumber = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t newline = text.find('\n', at);
        const std::size_t end = newline == std::string::npos ? text.size() : newline;
        ++lineNumber;
        const std::string here = where + ":" + std::to_string(lineNumber) + ": ";
        if (end - at > kLineCharacters) {
            error = here + "line longer than " + std::to_string(kLineCharacters) + " characters";
            return false;
        }
        std::string line = text.substr(at, end - at);
        at = end + 1;
        line = line.substr(0, line.find('#'));
        const std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        if (words[0] == "start") startLine = lineNumber;
        if (const std::string refusal = reader.Read(words); !refusal.empty()) {
            error = here + refusal;
            return false;
        }
    }
    if (!roomSeen) {
        error = where + ": no \"room WIDTH DEPTH\" statement";
        return false;
    }
    if (read.hasStart && !BodyFits(Room(read.widthMm, read.depthMm, read.furniture), read.start)) {
        error = where + ":" + std::to_string(startLine) + ": the robot's body (" + Format(RobotBody::kRadiusMm) +
                " mm radius) at the start would overlap a wall or a piece of furniture";
        return false;
    }
    room = std::move(read);
    return true;
}

bool ReadRoomFile(const std::string& path, RoomDescription& room, std::string& error)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = PrintableText(path) + ": " + std::strerror(errno);
        return false;
    }
    // One byte more than allowed tells a file too large without reading all of it.
    std::string text(kFileBytes + 1, '\0');
    const std::size_t got = std::fread(text.data(), 1, text.size(), file.get());
    if (std::ferror(file.get())) {
        error = PrintableText(path) + ": " + std::strerror(errno);
        return false;
    }
    text.resize(got);
    return ParseRoomText(text, path, room, error);
}

}  // namespace emulator
