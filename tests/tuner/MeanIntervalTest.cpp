#include <gtest/gtest.h>

#include "tuner/MeanInterval.h"

TEST(MeanInterval, FourValuesGiveStudentsIntervalWithThreeDegrees)
{
    // mean 2.5, sample deviation sqrt(5/3), t(3) = 3.182446: half width 2.054260.
    const MeanInterval figure = MeanWithInterval({1, 2, 3, 4});
    EXPECT_EQ(figure.mean, 2.5);
    ASSERT_TRUE(figure.low && figure.high);
    EXPECT_NEAR(*figure.low, 0.445740, 1e-5);
    EXPECT_NEAR(*figure.high, 4.554260, 1e-5);

    const MeanInterval same = MeanWithInterval({0.5, 0.5, 0.5});
    EXPECT_EQ(*same.low, same.mean) << "no spread, no width";
    EXPECT_EQ(*same.high, same.mean);
}

TEST(MeanInterval, OneValueHasNoInterval)
{
    const MeanInterval one = MeanWithInterval({3.25});
    EXPECT_EQ(one.mean, 3.25);
    EXPECT_FALSE(one.low);
    EXPECT_FALSE(one.high);
    EXPECT_FALSE(MeanWithInterval({}).low);
}

TEST(MeanInterval, QuantilesShrinkTowardsTheNormalsBetweenAndPastTheTable)
{
    EXPECT_EQ(StudentQuantile95(1), 12.706205);
    EXPECT_EQ(StudentQuantile95(29), 2.045230);
    EXPECT_NEAR(StudentQuantile95(50), 2.008559, 1e-3);  // between the rows of 40 and 60
    EXPECT_NEAR(StudentQuantile95(1000), 1.962339, 1e-3);
    double previous = StudentQuantile95(0);
    for (long long degrees : {1LL, 2LL, 30LL, 31LL, 45LL, 60LL, 100LL, 120LL, 121LL, 100000LL, 1LL << 40}) {
        const double quantile = StudentQuantile95(degrees);
        EXPECT_LE(quantile, previous) << degrees;
        EXPECT_GT(quantile, 1.959964) << degrees;
        previous = quantile;
    }
}
