#pragma once
#include <vector>

// The cosine and sine of every beam's offset from the heading, sweep by sweep in casting
// order, for the beam count they were made for. Turning the heading's unit vector by them
// gives a beam's direction to within a few units in the last place, for two products and
// a sum instead of a cosine and a sine each pass. Empty when the sweeps have too many
// beams to be worth keeping.
struct OffsetTurns {
    double raysPerSector = -1;
    std::vector<double> cosines[3], sines[3];
};
