#pragma once
#include <atomic>
#include <csignal>

// The first Ctrl-C asks the long run under way to stop; the handler then falls back to
// the default, so a second one ends the program the usual way. The caller's own handling
// comes back when the run is over: a test process calling a program's run keeps its
// Ctrl-C. One at a time in a process: the flag is the process's.
class InterruptHandling {
public:
    InterruptHandling();
    ~InterruptHandling();
    InterruptHandling(const InterruptHandling&) = delete;
    InterruptHandling& operator=(const InterruptHandling&) = delete;

    // Raised by Ctrl-C; the work polls it.
    const std::atomic<bool>* StopFlag() const;

private:
    struct sigaction m_previous {};
};
