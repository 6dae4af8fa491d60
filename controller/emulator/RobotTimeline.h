#pragma once
#include <string>
#include <vector>

#include "EmulatedRobot.h"

namespace emulator {

// What the robot heard and sent, in milliseconds since its start, short enough for the
// message of a failing test: identical commands in a row make one line with their count,
// and the frames one line per unbroken run, so that a silence stands out as a gap.
// A run of frames breaks where two frames are more than `gapMs` apart.
std::string FormatTimeline(const std::vector<Command>& commands, const std::vector<SentFrame>& frames, int gapMs);

}  // namespace emulator
