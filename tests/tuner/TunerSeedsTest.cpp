#include <gtest/gtest.h>

#include <set>

#include "tuner/ArenaSeeds.h"
#include "world/RandomState.h"

TEST(ArenaSeeds, ValidationArenasAreNeverTuningArenas)
{
    // Many --seed values, including the ones a user types first.
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        const ArenaSeeds seeds = DeriveArenaSeeds(seed, 12);
        ASSERT_EQ(seeds.tuning.size(), 12u);
        ASSERT_EQ(seeds.validation.size(), 12u);
        std::set<std::uint64_t> worlds;
        for (auto s : seeds.tuning) worlds.insert(RandomState::EffectiveSeed(s));
        for (auto s : seeds.validation) worlds.insert(RandomState::EffectiveSeed(s));
        ASSERT_EQ(worlds.size(), 24u) << "--seed " << seed << " repeats a world";
    }
}

TEST(ArenaSeeds, ZeroAndAllBitsSetAreTheSameWorld)
{
    EXPECT_EQ(RandomState::EffectiveSeed(0), ~std::uint64_t{0});
    EXPECT_EQ(RandomState::EffectiveSeed(~std::uint64_t{0}), ~std::uint64_t{0});
    EXPECT_EQ(RandomState::EffectiveSeed(5), 5u);
}

TEST(ArenaSeeds, FollowFromTheSeedAlone)
{
    const ArenaSeeds a = DeriveArenaSeeds(42, 5), b = DeriveArenaSeeds(42, 5), c = DeriveArenaSeeds(43, 5);
    EXPECT_EQ(a.tuning, b.tuning);
    EXPECT_EQ(a.validation, b.validation);
    EXPECT_NE(a.tuning, c.tuning);
    // More arenas extend the sets: the first arenas of a short run stay the same.
    const ArenaSeeds longer = DeriveArenaSeeds(42, 8);
    EXPECT_TRUE(std::equal(a.tuning.begin(), a.tuning.end(), longer.tuning.begin()));
}
