#pragma once
#include "FrameReassembler.h"

struct CompteursTrames {
    unsigned long acceptees = 0;      // frames copied into the sensor table
    unsigned long refusees = 0;       // candidates with a wrong checksum or that do not fit the table
    unsigned long octetsEcartes = 0;  // bytes given up while looking for a header
    long long processeurUs = 0;       // processor time of the reception thread
};

// Takes the bytes of one read: each complete candidate is checked in RxBuffer and, when
// right, copied into the sensor table, after which `trameAcceptee` (if any) runs.
// Every frame with a right checksum is taken once, whatever the read boundaries.
void RecevoirOctets(FrameReassembler& reassembler, const unsigned char* bytes, int count,
                    void (*trameAcceptee)(), CompteursTrames& compteurs);
