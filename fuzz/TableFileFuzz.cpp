// Any table file: the first byte chooses the name's extension, the rest is the file, so
// one input can move between the readers the extension dispatches to.
#include "TableFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const char* const extensions[] = {".ifi", ".fll", ".fis", ".fcl", ".FLL", ".txt", ""};
    CheckTableFile(data + 1, size - 1, extensions[data[0] % (sizeof extensions / sizeof *extensions)]);
    return 0;
}
