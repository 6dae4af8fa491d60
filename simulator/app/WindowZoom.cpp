#include "app/WindowZoom.h"

#include <algorithm>

int ZoomForScreen(int screenHeight, int arenaSize)
{
    return std::clamp(screenHeight / (2 * arenaSize), kMinZoom, kMaxZoom);
}

int ZoomForKey(int key)
{
    return key >= '0' + kMinZoom && key <= '0' + kMaxZoom ? key - '0' : 0;
}
