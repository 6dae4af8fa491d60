#include "BeamVectors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

BeamVectors Limit()
{
    const char* name = std::getenv("MARLUNE_BEAM_VECTORS");
    if (name == nullptr || std::strcmp(name, "avx2") == 0) return BeamVectors::kAvx2;
    if (std::strcmp(name, "sse2") == 0) return BeamVectors::kSse2;
    if (std::strcmp(name, "none") != 0)
        std::fprintf(stderr, "MARLUNE_BEAM_VECTORS=%s inconnu (none, sse2 ou avx2) : rayons sans vecteurs.\n", name);
    return BeamVectors::kNone;
}

BeamVectors Choose()
{
    const BeamVectors limit = Limit();
    for (BeamVectors vectors : {BeamVectors::kAvx2, BeamVectors::kSse2})
        if (vectors <= limit && ProcessorRuns(vectors)) return vectors;
    return BeamVectors::kNone;
}

}  // namespace

bool ProcessorRuns(BeamVectors vectors)
{
#if defined(__x86_64__)
    switch (vectors) {
    case BeamVectors::kNone:
    case BeamVectors::kSse2:
        return true;
    case BeamVectors::kAvx2:
        return __builtin_cpu_supports("avx2");
    }
    return false;
#else
    return vectors == BeamVectors::kNone;
#endif
}

BeamVectors WidestBeamVectors()
{
    static const BeamVectors widest = Choose();
    return widest;
}
