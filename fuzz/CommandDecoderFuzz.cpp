// The emulator's command decoder on any bytes: the same commands however the writes were
// cut, each with the data length its opcode gives it, and every byte in a command or
// pending.
#include <algorithm>
#include <vector>

#include "FuzzArguments.h"
#include "OpenInterfaceDecoder.h"

namespace {

std::vector<emulator::Command> Decode(const std::uint8_t* data, std::size_t size, std::size_t writeSize,
                                      std::size_t& pending)
{
    emulator::OpenInterfaceDecoder decoder;
    std::vector<emulator::Command> commands;
    for (std::size_t at = 0; at < size; at += writeSize) {
        const int count = static_cast<int>(std::min(writeSize, size - at));
        for (auto& command : decoder.Feed(data + at, count)) commands.push_back(std::move(command));
    }
    std::size_t used = 0;
    for (const auto& command : commands) used += 1 + command.data.size();
    FUZZ_CHECK(used <= size);
    pending = size - used;
    return commands;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t writeSize = 1 + data[0] % 16;
    std::size_t pendingWhole = 0;
    std::size_t pendingCut = 0;
    const auto whole = Decode(data + 1, size - 1, size, pendingWhole);
    const auto cut = Decode(data + 1, size - 1, writeSize, pendingCut);

    FUZZ_CHECK(whole.size() == cut.size());
    FUZZ_CHECK(pendingWhole == pendingCut);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        FUZZ_CHECK(whole[i].opcode == cut[i].opcode && whole[i].data == cut[i].data);
        FUZZ_CHECK(static_cast<int>(whole[i].data.size()) ==
                   emulator::CommandDataLength(whole[i].opcode, whole[i].data));
    }
    // A command left unfinished is shorter than the longest one (a Song of 255 notes).
    FUZZ_CHECK(pendingWhole < 2 + 2 + 2 * 255);
    return 0;
}
