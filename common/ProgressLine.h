#pragma once
#include <chrono>
#include <iosfwd>
#include <string>

// A line on err that redraws itself with carriage returns: what is done so far and the
// time left, estimated from the pace since the line was made.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool enabled);

    // `figures` leads the line; `done` of `total` units of equal cost are finished.
    void Show(const std::string& figures, long long done, long long total);
    // Ends the line, if one was shown, so that what follows starts on its own.
    void Finish();

private:
    std::ostream& m_err;
    bool m_enabled;
    bool m_shown = false;
    std::chrono::steady_clock::time_point m_start;
};

// Whether a progress line on `err` would be seen as meant: only the process's own
// standard error, and only when it is a terminal.
bool ShowsProgressOn(const std::ostream& err);
