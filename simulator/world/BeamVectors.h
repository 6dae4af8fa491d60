#pragma once

// How Sense without painting marches a sweep's beams: one at a time, or two of one
// marching case side by side, their minor coordinates in one SSE2 vector (on other
// processors, whatever the compiler makes of a two-lane vector). Each lane does exactly
// what the one-beam march does, in the same order, so both give the same distances;
// only the speed differs.
enum class BeamVectors {
    kNone,
    kSse2,
};

// Two beams a vector, unless the environment variable MARLUNE_BEAM_VECTORS says none, so
// the bit-exact tests can run with the vectors off. Read once per process.
BeamVectors DefaultBeamVectors();
