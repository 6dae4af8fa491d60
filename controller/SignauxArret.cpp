#include "SignauxArret.h"

#include <atomic>
#include <csignal>
#include <initializer_list>
#include <unistd.h>

namespace {
// The signal may land on the reception thread: atomics, not plain flags.
std::atomic<bool> arretRecu{false};
std::atomic<bool> suspensionRecue{false};
static_assert(std::atomic<bool>::is_always_lock_free, "must be safe to set from a signal handler");

extern "C" void NoterArret(int)
{
    arretRecu.store(true);
}
extern "C" void NoterSuspension(int)
{
    suspensionRecue.store(true);
}

void Installer(int signal, void (*gestionnaire)(int))
{
    struct sigaction action = {};
    action.sa_handler = gestionnaire;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}
}  // namespace

void InstallerSignauxArret()
{
    for (int signal : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE}) Installer(signal, NoterArret);
    Installer(SIGTSTP, NoterSuspension);
}

bool ArretSignale()
{
    return arretRecu.load();
}

bool SuspensionDemandee()
{
    return suspensionRecue.load();
}

void SuspendreJusquAReprise()
{
    suspensionRecue.store(false);
    // SIGSTOP rather than SIGTSTP again: the kernel drops a terminal stop sent to an
    // orphaned process group, and the wheels are already stopped for a suspension.
    ::kill(::getpid(), SIGSTOP);
}
