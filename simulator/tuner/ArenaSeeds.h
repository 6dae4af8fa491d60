#pragma once
#include <cstdint>
#include <vector>

// Generator seeds of the arenas a table is judged on. Both sets follow from one
// --seed, so a tuning run can be repeated, and the validation arenas never repeat a
// tuning arena: a table is validated on worlds the search has not seen.
struct ArenaSeeds {
    std::vector<std::uint64_t> tuning;
    std::vector<std::uint64_t> validation;
};

ArenaSeeds DeriveArenaSeeds(std::uint64_t seed, int arenasPerSet);
