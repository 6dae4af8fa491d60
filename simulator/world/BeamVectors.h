#pragma once

// The vector instructions that march several beams at once when nothing is painted.
// Each lane does exactly what the one-beam march does, in the same order, so every
// choice gives the same distances; only the speed differs.
enum class BeamVectors {
    kNone,  // one beam at a time: any processor
    kSse2,  // two beams a vector: every x86-64 processor
    kAvx2,  // four beams a vector, two vectors at a time
};

// The widest this processor runs, chosen once per process. The environment variable
// MARLUNE_BEAM_VECTORS (none, sse2 or avx2) narrows it, so the bit-exact tests can run
// with the vectors off on a processor that has them.
BeamVectors WidestBeamVectors();

// Whether this processor can run that choice.
bool ProcessorRuns(BeamVectors vectors);
