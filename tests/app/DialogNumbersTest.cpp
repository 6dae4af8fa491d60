#include <gtest/gtest.h>

#include "reasoning/DialogNumbers.h"

namespace {

// A value pasted from a web page or a word processor often comes with no-break spaces.
TEST(DialogNumbersTest, FieldsTakeTheUnicodeBlanksOfAPaste)
{
    EXPECT_EQ(TypedNumber(QString::fromUtf8("\u00a0-30\u2009")), -30.0);
    EXPECT_EQ(TypedInteger(QString::fromUtf8("\u3000+5\u00a0")), 5);
    EXPECT_FALSE(TypedNumber(QString::fromUtf8("3\u00a05")).has_value());
    EXPECT_FALSE(TypedNumber(QString::fromUtf8("\u00a0")).has_value());
}

TEST(DialogNumbersTest, ShowsFifteenDigits)
{
    EXPECT_EQ(ShownNumber(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(TypedNumber(ShownNumber(-0.1)), -0.1);
}

}  // namespace
