#pragma once
#include "FrameReassembler.h"

struct CompteursTrames {
    unsigned long acceptees = 0;      // frames copied into the sensor table
    unsigned long refusees = 0;       // candidates with a wrong checksum, another layout, or that do not fit the table
    unsigned long octetsEcartes = 0;  // bytes given up while looking for a header
    long long processeurUs = 0;       // processor time of the reception thread
    int derniereTrameMs = -1;         // clock of the last accepted frame, -1 before the first
    int plusLongSilenceMs = 0;        // longest time between two accepted frames
};

// Takes the bytes of one read: each complete candidate is checked in RxBuffer and, when
// right, copied into the sensor table, after which `trameAcceptee` (if any) runs.
// Every frame of the requested layout with a right checksum is taken once, whatever the
// read boundaries, unless stray bytes before it begin a false candidate of that layout
// which covers it and also passes the checksum; such a false frame is taken instead.
// Without a requested layout, a stray header holds the frames behind it back until its
// count's worth of bytes (at most 258) has arrived.
void RecevoirOctets(FrameReassembler& reassembler, const unsigned char* bytes, int count, void (*trameAcceptee)(),
                    CompteursTrames& compteurs);
