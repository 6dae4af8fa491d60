#include <gtest/gtest.h>

#include "world/RandomState.h"

TEST(RandomState, MultiplyWithCarrySequences)
{
    RandomState fromOne(1);
    EXPECT_EQ(fromOne.Next(), 1554115554u);
    EXPECT_EQ(fromOne.Next(), 4221350788u);
    EXPECT_EQ(fromOne.Next(), 1890152060u);

    // A zero seed would stay zero for ever; it starts from all bits set instead.
    RandomState fromZero(0);
    EXPECT_EQ(fromZero.state, ~std::uint64_t{0});
    EXPECT_EQ(fromZero.Next(), 2740851741u);
    EXPECT_EQ(fromZero.Next(), 73616508u);
    EXPECT_EQ(fromZero.Next(), 3958930789u);
}

TEST(RandomState, ReseedingRestartsTheSequence)
{
    RandomState rng(0x123456789abcdefull);
    const std::uint32_t first = rng.Next();
    rng.Next();
    rng.Seed(0x123456789abcdefull);
    EXPECT_EQ(rng.Next(), first);
}
