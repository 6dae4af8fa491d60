#include "OpenInterfaceDecoder.h"

namespace emulator {

namespace {

// Fixed data lengths of the opcodes 128 to 173; -1 marks the ones whose length is
// carried by their own first data bytes, -2 the numbers that are no command.
constexpr int kFixedLength[46] = {
    0,  1,  0,  0,  0,  0, 0, 0, 0,  4,   // 128 Start .. 137 Drive
    1,  3,  -1, 1,  1,  0, 3, 4, 4,  1,   // 138 Motors .. 147 Digital Outputs
    -1, -1, 1,  1,  -1, 0, 0, 1, 2,  2,   // 148 Stream .. 157 Wait Angle
    1,  -2, -2, -2, 2,  4, 4, 1, -2, 15,  // 158 Wait Event .. 167 Schedule
    3,  -2, -2, -2, -2, 0,                // 168 Set Day/Time .. 173 Stop
};

}  // namespace

int CommandDataLength(unsigned char opcode, const std::vector<unsigned char>& data)
{
    if (opcode < 128 || opcode > 173) return 0;
    const int fixed = kFixedLength[opcode - 128];
    if (fixed >= 0) return fixed;
    if (fixed == -2) return 0;
    switch (opcode) {
    case 140:  // Song: number, length, then a (note, duration) pair per note
        return data.size() < 2 ? -1 : 2 + 2 * data[1];
    default:  // Stream, Query List, Script: a count, then that many bytes
        return data.empty() ? -1 : 1 + data[0];
    }
}

std::vector<Command> OpenInterfaceDecoder::Feed(const unsigned char* bytes, int count)
{
    std::vector<Command> complete;
    for (int i = 0; i < count; ++i) {
        if (!inCommand_) {
            pending_ = Command{bytes[i], {}};
            inCommand_ = true;
        } else {
            pending_.data.push_back(bytes[i]);
        }
        const int wanted = CommandDataLength(pending_.opcode, pending_.data);
        if (wanted >= 0 && static_cast<int>(pending_.data.size()) >= wanted) {
            complete.push_back(std::move(pending_));
            inCommand_ = false;
        }
    }
    return complete;
}

}  // namespace emulator
