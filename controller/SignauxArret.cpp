#include "SignauxArret.h"

#include <atomic>
#include <csignal>

namespace {
// The signal may land on the reception thread: an atomic, not a plain flag.
std::atomic<bool> arretRecu{false};
static_assert(std::atomic<bool>::is_always_lock_free, "must be safe to set from a signal handler");

extern "C" void NoterArret(int) { arretRecu.store(true); }
}  // namespace

void InstallerSignauxArret() {
    struct sigaction action = {};
    action.sa_handler = NoterArret;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool ArretSignale() { return arretRecu.load(); }
