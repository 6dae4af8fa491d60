#include "world/RobotSimulation.h"

bool RobotSimulation::IsCenterBlocked() const
{
    // Off the map there is nothing to stand on; count it as an obstacle rather than
    // read memory that is not the map.
    if (!IsInsideImage(centerX, centerY)) return true;
    return freeMap.ptr<unsigned char>(static_cast<int>(centerY))[static_cast<int>(centerX)] == 0;
}

bool RobotSimulation::UpdateCollision()
{
    const bool blocked = IsCenterBlocked();
    if (!inCollision) {
        // Only the entry counts: staying on blocked pixels is the same collision.
        if (blocked) {
            inCollision = 1;
            ++collisions;
        }
        return false;
    }
    if (!blocked) inCollision = 0;
    return true;
}
