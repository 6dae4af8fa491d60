#pragma once
#include <cstdint>

// A small generator, fixed to the bit by its seed, for the tuner's own draws (arena seeds, search
// moves). The standard library's distributions differ between implementations, so the
// tuner converts raw 64-bit values itself: the same --seed gives the same search
// everywhere.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), from the top 53 bits.
    double NextUnit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

    // Uniform in [0, n); the slight modulo bias is irrelevant for population indices.
    int NextBelow(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t m_state;
};
