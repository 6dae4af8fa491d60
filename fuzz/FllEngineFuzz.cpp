// The .fll reader on any bytes.
#include "TableFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckTableFile(data, size, ".fll");
    return 0;
}
