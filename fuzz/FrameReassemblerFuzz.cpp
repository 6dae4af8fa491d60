// The reception of the robot's stream on any bytes, cut into reads of any size: only
// frames with a right checksum reach the sensor table, the 64 slots keep their sizes,
// every byte pushed is accepted, given up or still pending, and a valid frame sent after
// the garbage is taken.
#include <algorithm>
#include <cstring>
#include <vector>

#include "FrameReassembler.h"
#include "FuzzArguments.h"
#include "LectureID.h"
#include "ReceptionTrames.h"

namespace {

unsigned long g_acceptedBytes = 0;
std::vector<unsigned char> g_lastAccepted;

void OnAccepted()
{
    const int length = RxBuffer[1] + 3;
    unsigned sum = 0;
    for (int i = 0; i < length; ++i) sum += RxBuffer[i];
    FUZZ_CHECK(RxBuffer[0] == FrameReassembler::kHeader);
    FUZZ_CHECK((sum & 0xFF) == 0);
    g_acceptedBytes += static_cast<unsigned long>(length);
    g_lastAccepted.assign(RxBuffer, RxBuffer + length);
}

// Packets 43 and 44 (the wheel encoders, two bytes each), counts chosen without a 19.
const std::vector<unsigned char> kValidFrame = [] {
    std::vector<unsigned char> frame = {FrameReassembler::kHeader, 6, 43, 0x01, 0x02, 44, 0x03, 0x04};
    unsigned sum = 0;
    for (unsigned char byte : frame) sum += byte;
    frame.push_back(static_cast<unsigned char>(-sum & 0xFF));
    return frame;
}();

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every accepted frame prints a carriage return for the console's status line.
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    InitTableauID();
    dataSensor sizes[64];
    LireTableDonnees(sizes);
    g_acceptedBytes = 0;

    FrameReassembler reassembler;
    CompteursTrames counters;
    unsigned long pushed = 0;
    // The first byte sets the size of the reads, as a serial line cuts them anywhere.
    const std::size_t readSize = 1 + data[0] % 64;
    auto receive = [&](const unsigned char* bytes, std::size_t count) {
        for (std::size_t at = 0; at < count; at += readSize) {
            const int read = static_cast<int>(std::min(readSize, count - at));
            RecevoirOctets(reassembler, bytes + at, read, OnAccepted, counters);
            pushed += static_cast<unsigned long>(read);
            const unsigned long settled = g_acceptedBytes + counters.octetsEcartes;
            FUZZ_CHECK(settled <= pushed);
            FUZZ_CHECK(pushed - settled <= static_cast<unsigned long>(FrameReassembler::kLongestFrame));
        }
    };
    receive(data + 1, size - 1);

    dataSensor after[64];
    LireTableDonnees(after);
    for (int id = 0; id < 64; ++id) FUZZ_CHECK(after[id].nBytes == sizes[id].nBytes);

    // Garbage may hold a false header with a large count: once the frames that follow
    // have filled it, the next copy of a valid frame is taken whole.
    bool taken = false;
    for (int copy = 0; copy < 2 + FrameReassembler::kLongestFrame / 9 && !taken; ++copy) {
        g_lastAccepted.clear();
        receive(kValidFrame.data(), kValidFrame.size());
        taken = g_lastAccepted == kValidFrame;
    }
    FUZZ_CHECK(taken);
    return 0;
}
