#include "app/RunPace.h"

#include <algorithm>
#include <iterator>

void RunPace::Faster(Clock::time_point now)
{
    m_level = std::min<int>(m_level + 1, std::size(kLevels) - 1);
    Restart(now);
}

void RunPace::Slower(Clock::time_point now)
{
    m_level = std::max(m_level - 1, 0);
    Restart(now);
}

void RunPace::Restart(Clock::time_point now)
{
    m_due = now;
}

RunPace::Clock::duration RunPace::Period() const
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / PassesPerSecond();
}

bool RunPace::TakePass(Clock::time_point now)
{
    if (PassesPerSecond() == 0) return true;
    if (now < m_due) return false;
    const Clock::duration period = Period();
    m_due = now - m_due > period ? now + period : m_due + period;
    return true;
}

int RunPace::PollDelayMs(Clock::time_point now) const
{
    if (PassesPerSecond() == 0 || now >= m_due) return 1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_due - now);
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 1));
}
