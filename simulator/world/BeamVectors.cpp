#include "world/BeamVectors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

BeamVectors FromEnvironment()
{
    const char* name = std::getenv("MARLUNE_BEAM_VECTORS");
    if (name == nullptr || std::strcmp(name, "sse2") == 0) return BeamVectors::kSse2;
    if (std::strcmp(name, "none") != 0)
        std::fprintf(stderr, "MARLUNE_BEAM_VECTORS=%s inconnu (none ou sse2) : rayons sans vecteurs.\n", name);
    return BeamVectors::kNone;
}

}  // namespace

BeamVectors DefaultBeamVectors()
{
    static const BeamVectors chosen = FromEnvironment();
    return chosen;
}
