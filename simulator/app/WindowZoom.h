#pragma once

// The simulation window enlarges the arena by a whole factor, so that each arena pixel
// is a square of screen pixels: ×1 to ×4, chosen with the keys 1 to 4.
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 4;

// The zoom a window opens at: the largest whose arena takes at most half the screen's
// height (×2 on 1080 lines, ×4 on 2160), ×1 on screens smaller than twice the arena.
int ZoomForScreen(int screenHeight, int arenaSize);

// The zoom a key asks for ('1' to '4'), or 0 for any other key.
int ZoomForKey(int key);
