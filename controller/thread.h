#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "ReceptionTrames.h"

// An auto-reset event: Set wakes one wait (or the next one), each wait consumes it.
class AutoResetEvent {
public:
    void Set();
    void Reset();
    void Wait();
    // Returns false when the time-out passed without the event being set.
    bool WaitFor(int milliseconds);

private:
    std::mutex mutex_;
    std::condition_variable signalled_;
    bool set_ = false;
};

extern AutoResetEvent hEvent_RX;      // set after every read pass of the reception thread
extern AutoResetEvent hEvent_Create;  // set once when the reception thread is ready
extern std::atomic<int> endThread;
extern FILE* fichier;  // the trajectory log "Parcours_CodeBlocks.txt"

// Milliseconds since the program started: the log's time stamps and the PID's clock.
int HorlogeMs();

void CreateThreadsRX();  // starts the thread, returns once it is ready
void RX_Thread(void* pX);
// Stops the reception thread and waits for it to end (idempotent). Call before the
// port is closed so the thread never reads a closed port.
void ArreterThreadRX();
void FreeThreadsRX();  // ArreterThreadRX, then closes the log

// Frames taken and refused by the reception thread since it was last created.
CompteursTrames CompteursReception();
// Why the port stopped reading (hung up, unplugged), or null while it reads.
const char* LignePerdue();
