#pragma once
#include <cmath>

// Real coordinates become pixels by truncation toward zero. The robot may drive
// arbitrarily far out of the picture (nothing bounds it), and converting such a double
// to int directly would be undefined, so values far outside any image are pinned to a
// distant but harmless coordinate; inside that range this is plain truncation.
inline int TruncateToPixel(double value)
{
    constexpr double kFarAway = 1 << 24;
    if (!(value > -kFarAway)) return -static_cast<int>(kFarAway);  // also NaN
    if (value > kFarAway) return static_cast<int>(kFarAway);
    return static_cast<int>(value);
}
