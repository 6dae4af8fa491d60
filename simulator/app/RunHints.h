#pragma once
#include <QString>

// What the simulation window tells its user in the band above the arena. It is drawn
// by the window, never into the frame: the pixels shown stay the world's own.
struct RunHint {
    QString text;
    // How long the window shows it; 0: until the next hint.
    int durationMs;
};

// The hint for the run's state: the start keys while waiting, "PAUSE" while paused
// (also when the pause is carried over from the previous run), and every key.
// Running, the keys show for a few seconds and then leave the band empty.
RunHint RunHintFor(bool started, bool paused);
