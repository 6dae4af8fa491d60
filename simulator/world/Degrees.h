#pragma once

// Tables speak degrees, the world radians: the one factor between them, to the last bit.
inline constexpr double kDegreesToRadians = 0.017453292519943295;
