#pragma once
#include "EmulatedRobot.h"

#include <vector>

namespace emulator {

// Gathers the bytes of the serial line into whole Open Interface commands, however the
// writes were cut: each opcode takes the number of data bytes the interface gives it.
class OpenInterfaceDecoder {
public:
    // Returns the commands completed by these bytes, in order.
    std::vector<Command> Feed(const unsigned char* bytes, int count);

private:
    Command pending_;
    bool inCommand_ = false;
};

// Data bytes that follow `opcode` once `data` has arrived; -1 while the length depends on
// bytes not yet received. An opcode the interface does not define takes none.
int CommandDataLength(unsigned char opcode, const std::vector<unsigned char>& data);

}  // namespace emulator
