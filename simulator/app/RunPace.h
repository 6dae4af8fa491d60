#pragma once
#include <chrono>

// The pace of a desktop run: by default the passes run as fast as the machine allows,
// which crosses the arena in under a second; + and - choose 25, 50, 100 or 200 passes
// per second so that a class can follow each decision.
//
// Paced passes keep to a schedule of due times, so a slow pass is made up by the next
// ones; after a long hold-up (a pause, a dragged window) the schedule starts afresh
// instead of rushing through the passes it missed.
class RunPace {
public:
    using Clock = std::chrono::steady_clock;

    // Passes per second, slowest first; 0 stands for unpaced.
    static constexpr int kLevels[] = {25, 50, 100, 200, 0};

    int PassesPerSecond() const { return kLevels[m_level]; }
    // One level up or down; at either end it stays.
    void Faster(Clock::time_point now);
    void Slower(Clock::time_point now);

    // True when a pass may run at `now` (it is then counted as done), false when it is
    // not due yet. Always true unpaced.
    bool TakePass(Clock::time_point now);
    // How long the key poll may wait without making the next pass late: at least 1 ms.
    int PollDelayMs(Clock::time_point now) const;

private:
    void Restart(Clock::time_point now);
    Clock::duration Period() const;

    int m_level = sizeof(kLevels) / sizeof(kLevels[0]) - 1;
    Clock::time_point m_due{};
};
