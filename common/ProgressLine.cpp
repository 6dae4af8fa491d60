#include "common/ProgressLine.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <ostream>

ProgressLine::ProgressLine(std::ostream& err, bool enabled)
    : m_err(err), m_enabled(enabled), m_start(std::chrono::steady_clock::now())
{
}

void ProgressLine::Show(const std::string& figures, long long done, long long total)
{
    if (!m_enabled) return;
    m_err << '\r' << figures << "  time left ";
    if (done > 0) {
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
        const double left = elapsed / static_cast<double>(done) * static_cast<double>(total - done);
        // A run of billions of units can be asked for; its estimate must not overflow.
        const long long seconds = static_cast<long long>(std::min(left, 1e15) + 0.5);
        const long long remainder = seconds % 60;
        m_err << seconds / 60 << ':' << (remainder < 10 ? "0" : "") << remainder;
    } else {
        m_err << '?';  // nothing done yet gives no pace
    }
    m_err << "\033[K" << std::flush;
    m_shown = true;
}

void ProgressLine::Finish()
{
    if (m_shown) m_err << '\n';
    m_shown = false;
}

bool ShowsProgressOn(const std::ostream& err)
{
    return &err == &std::cerr && isatty(STDERR_FILENO) != 0;
}
