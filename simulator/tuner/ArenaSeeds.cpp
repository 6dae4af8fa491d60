#include "tuner/ArenaSeeds.h"

#include <algorithm>
#include <unordered_set>

#include "common/SplitMix64.h"
#include "world/RandomState.h"

ArenaSeeds DeriveArenaSeeds(std::uint64_t seed, int arenasPerSet)
{
    const std::size_t count = static_cast<std::size_t>(std::max(arenasPerSet, 0));
    // Distinct streams for the two sets; a value drawn twice, or one the world's
    // generator takes for a seed already taken, is skipped, so the sets are disjoint
    // and free of repeats.
    SplitMix64 tuningStream(seed);
    SplitMix64 validationStream(seed ^ 0x5641'4C49'4441'5445u);
    std::unordered_set<std::uint64_t> taken;
    auto fill = [&](SplitMix64& stream, std::vector<std::uint64_t>& out) {
        while (out.size() < count) {
            const std::uint64_t candidate = stream.Next();
            if (taken.insert(RandomState::EffectiveSeed(candidate)).second) out.push_back(candidate);
        }
    };
    ArenaSeeds seeds;
    fill(tuningStream, seeds.tuning);
    fill(validationStream, seeds.validation);
    return seeds;
}
