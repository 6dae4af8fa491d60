#include "common/StopRequest.h"

namespace {

std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the stop flag is set from a signal handler");

void OnInterrupt(int)
{
    g_stopRequested.store(true);
}

}  // namespace

InterruptHandling::InterruptHandling()
{
    g_stopRequested.store(false);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_previous);
}

InterruptHandling::~InterruptHandling()
{
    sigaction(SIGINT, &m_previous, nullptr);
}

const std::atomic<bool>* InterruptHandling::StopFlag() const
{
    return &g_stopRequested;
}
