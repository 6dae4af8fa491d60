#include <clocale>

#include <gtest/gtest.h>

#include "NumberText.h"

namespace {

TEST(NumberTextTest, FormatsLikeGeneralFifteenDigits)
{
    EXPECT_EQ(FormatNumber(0.0), "0");
    EXPECT_EQ(FormatNumber(-30.0), "-30");
    EXPECT_EQ(FormatNumber(2.5), "2.5");
    EXPECT_EQ(FormatNumber(0.1), "0.1");
    EXPECT_EQ(FormatNumber(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatNumber(1e20), "1e+20");
    EXPECT_EQ(FormatNumber(1.234568), "1.234568");
}

TEST(NumberTextTest, StatisticsHaveThreeDecimals)
{
    EXPECT_EQ(FormatStatistic(7 * 500.0 / (1499 + 1)), "2.333");
    EXPECT_EQ(FormatStatistic(300 * 50.0 / (299 + 1)), "50.000");
    EXPECT_EQ(FormatStatistic(0.0), "0.000");
    EXPECT_EQ(FormatStatistic(0.0005), "0.001");
}

TEST(NumberTextTest, AcceptsSignedDecimalsWithBlanksAround)
{
    EXPECT_EQ(ParseNumber(" 2.5 "), 2.5);
    EXPECT_EQ(ParseNumber("+3"), 3.0);
    EXPECT_EQ(ParseNumber("-1e-3"), -0.001);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("1.50"), 1.5);
    EXPECT_EQ(ParseInteger(" -12"), -12);
}

TEST(NumberTextTest, RefusesWhatIsNotAFiniteNumber)
{
    for (const char* text : {"", " ", "-", "+", "+-1", "abc", "1.5x", "1,5", "inf", "nan", "1e999", "0x10"})
        EXPECT_FALSE(ParseNumber(text).has_value()) << text;
    EXPECT_FALSE(ParseInteger("1.5").has_value());
    EXPECT_FALSE(ParseInteger("99999999999").has_value());
}

TEST(NumberTextTest, IgnoresACommaDecimalLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string restore = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "fr_FR.UTF-8"), nullptr) << "the fr_FR.UTF-8 locale is not installed";
    EXPECT_EQ(FormatNumber(2.5), "2.5");
    EXPECT_EQ(FormatStatistic(2.5), "2.500");
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_FALSE(ParseNumber("2,5").has_value());
    std::setlocale(LC_ALL, restore.c_str());
}

} // namespace
