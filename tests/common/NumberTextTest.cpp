#include <clocale>

#include <gtest/gtest.h>

#include "common/NumberText.h"

namespace {

TEST(NumberTextTest, FormatsLikeGeneralFifteenDigits)
{
    EXPECT_EQ(SignificantDigits(0.0, 15), "0");
    EXPECT_EQ(SignificantDigits(-30.0, 15), "-30");
    EXPECT_EQ(SignificantDigits(2.5, 15), "2.5");
    EXPECT_EQ(SignificantDigits(0.1, 15), "0.1");
    EXPECT_EQ(SignificantDigits(1.0 / 3.0, 15), "0.333333333333333");
    EXPECT_EQ(SignificantDigits(1e20, 15), "1e+20");
    EXPECT_EQ(SignificantDigits(1.234568, 15), "1.234568");
    // Seventeen digits bring every double back exactly, the shortest text or not.
    EXPECT_EQ(SignificantDigits(0.1, 17), "0.10000000000000001");
    EXPECT_EQ(SignificantDigits(-1.7976931348623157e308, 17), "-1.7976931348623157e+308");
}

TEST(NumberTextTest, StatisticsHaveThreeDecimals)
{
    EXPECT_EQ(FixedDecimals(7 * 500.0 / (1499 + 1), 3), "2.333");
    EXPECT_EQ(FixedDecimals(300 * 50.0 / (299 + 1), 3), "50.000");
    EXPECT_EQ(FixedDecimals(0.0, 3), "0.000");
    EXPECT_EQ(FixedDecimals(0.0005, 3), "0.001");
    // The widest double in fixed notation still fits.
    EXPECT_EQ(FixedDecimals(-1.7976931348623157e308, 3).size(), 1 + 309 + 4u);
}

TEST(NumberTextTest, AcceptsSignedDecimalsWithBlanksAround)
{
    EXPECT_EQ(ParseNumber(" 2.5 "), 2.5);
    EXPECT_EQ(ParseNumber("+3"), 3.0);
    EXPECT_EQ(ParseNumber("-1e-3"), -0.001);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("1.50"), 1.5);
    EXPECT_EQ(ParseNumber("\t-30\n"), -30.0);
    EXPECT_EQ(ParseInteger(" -12"), -12);
    EXPECT_EQ(ParseInteger("+5 "), 5);
}

TEST(NumberTextTest, RefusesWhatIsNotAFiniteNumber)
{
    for (const char* text :
         {"", " ", "-", "+", "+-1", "++1", "+ 1", "abc", "1.5x", "1,5", "inf", "nan", "1e999", "0x10"})
        EXPECT_FALSE(ParseNumber(text).has_value()) << text;
    EXPECT_FALSE(ParseInteger("1.5").has_value());
    EXPECT_FALSE(ParseInteger("99999999999").has_value());
    EXPECT_FALSE(ParseInteger("+").has_value());
}

// A command line means exactly what it says: no blanks, no '+'.
TEST(NumberTextTest, ExactNumbersAreTheWholeTextAndNothingElse)
{
    EXPECT_EQ(ParseExactNumber("-1e-3"), -0.001);
    EXPECT_EQ(ParseExactNumber("12.5"), 12.5);
    for (const char* text : {"", " 2", "2 ", "+2", "-", "2,5", "inf", "-nan", "1e999", "0x10"})
        EXPECT_FALSE(ParseExactNumber(text).has_value()) << text;
}

TEST(NumberTextTest, IgnoresACommaDecimalLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string restore = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "fr_FR.UTF-8"), nullptr) << "the fr_FR.UTF-8 locale is not installed";
    EXPECT_EQ(SignificantDigits(2.5, 15), "2.5");
    EXPECT_EQ(FixedDecimals(2.5, 3), "2.500");
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_FALSE(ParseNumber("2,5").has_value());
    std::setlocale(LC_ALL, restore.c_str());
}

}  // namespace
