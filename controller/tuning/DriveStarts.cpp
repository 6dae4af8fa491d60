#include "DriveStarts.h"

#include "RobotBody.h"
#include "common/SplitMix64.h"

namespace {
// Plenty for any room whose free floor is more than a sliver.
constexpr int kDrawsPerStart = 10000;
}  // namespace

bool DrawDriveStarts(const std::vector<emulator::Room>& rooms, int perRoom, std::uint64_t seed,
                     std::vector<DriveStart>& starts, std::string& error)
{
    constexpr double radius = emulator::RobotBody::kRadiusMm;
    SplitMix64 random(seed);
    starts.clear();
    for (std::size_t r = 0; r < rooms.size(); ++r) {
        const emulator::Room& room = rooms[r];
        for (int s = 0; s < perRoom; ++s) {
            bool found = false;
            for (int draw = 0; draw < kDrawsPerStart && !found; ++draw) {
                const double x = radius + random.NextUnit() * (room.WidthMm() - 2 * radius);
                const double y = radius + random.NextUnit() * (room.DepthMm() - 2 * radius);
                const double heading = random.NextUnit() * 360;
                if (room.Clearance(x, y) < radius + kStartClearanceMm) continue;
                starts.push_back(DriveStart{static_cast<int>(r), emulator::Pose{x, y, heading}});
                found = true;
            }
            if (!found) {
                error = "pièce " + std::to_string(r + 1) + " : aucune place libre trouvée pour y faire partir le robot";
                return false;
            }
        }
    }
    return true;
}
