#include "RobotTimeline.h"

#include <cstddef>
#include <sstream>

namespace emulator {

std::string FormatTimeline(const std::vector<Command>& commands, const std::vector<SentFrame>& frames, int gapMs)
{
    std::ostringstream out;
    out << "robot timeline, ms since its start\n  commands received:\n";
    for (std::size_t i = 0; i < commands.size();) {
        std::size_t end = i + 1;
        while (end < commands.size() && commands[end].opcode == commands[i].opcode &&
               commands[end].data == commands[i].data)
            ++end;
        out << "    " << commands[i].atMs << "  " << static_cast<int>(commands[i].opcode);
        if (!commands[i].data.empty()) {
            out << " [";
            for (std::size_t b = 0; b < commands[i].data.size(); ++b)
                out << (b ? " " : "") << static_cast<int>(commands[i].data[b]);
            out << "]";
        }
        if (end - i > 1) out << "  x" << end - i << " until " << commands[end - 1].atMs;
        out << "\n";
        i = end;
    }
    out << "  frames sent:\n";
    for (std::size_t i = 0; i < frames.size();) {
        std::size_t end = i + 1;
        std::size_t broken = !frames[i].intact;
        while (end < frames.size() && frames[end].atMs - frames[end - 1].atMs <= gapMs) broken += !frames[end++].intact;
        out << "    " << frames[i].atMs << "  x" << end - i << " until " << frames[end - 1].atMs;
        if (broken > 0) out << " (" << broken << " not intact)";
        if (end < frames.size()) out << ", then nothing for " << frames[end].atMs - frames[end - 1].atMs << " ms";
        out << "\n";
        i = end;
    }
    return out.str();
}

}  // namespace emulator
