#pragma once
#include <cstdint>

// The world's 64-bit multiply-with-carry generator. One stream feeds both the arena
// generator and the controller's sign draw, so their draws interleave across runs.
struct RandomState {
    std::uint64_t state = ~std::uint64_t{0};

    RandomState() = default;
    explicit RandomState(std::uint64_t seed) { Seed(seed); }

    // A seed of 0 would be a fixed point of the recurrence; it becomes all bits set.
    // Two seeds with the same effective seed start the same stream.
    static constexpr std::uint64_t EffectiveSeed(std::uint64_t seed) { return seed != 0 ? seed : ~std::uint64_t{0}; }
    void Seed(std::uint64_t seed) { state = EffectiveSeed(seed); }

    std::uint32_t Next()
    {
        state = (state & 0xFFFFFFFFu) * 1554115554u + (state >> 32);
        return static_cast<std::uint32_t>(state);
    }
};
