#pragma once
#include <QString>

class RobotSimulation;

// The two means the dialog shows during and after a run.
struct RunStatistics {
    QString meanCollisions;  // collisions per 10 s
    QString meanSpeed;       // pixels per second
};

// Both means over the run's ticks, three decimals. A robot whose centre has left the
// world (or is no longer a number, as huge speeds make it) has no speed to speak of:
// the speed then says so in words instead of showing "-nan" or a meaningless figure.
RunStatistics FormatRunStatistics(const RobotSimulation& sim, int tickCount);
