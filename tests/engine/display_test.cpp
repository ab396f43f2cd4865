// The display patterns: rounding, negative zero, the largest values, the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "display.h"

namespace {

TEST(DisplayPattern, WritesExactlyTheDecimalsOfThePattern)
{
    EXPECT_EQ(Format2(19.03), "19.03");
    EXPECT_EQ(Format2(3), "3.00");
    EXPECT_EQ(Format3(1.16789), "1.168");
    EXPECT_EQ(Format4(0.4672796), "0.4673");
    EXPECT_EQ(Format5(1654.1625), "1654.16250");
    EXPECT_EQ(Format2(0.004), "0.00");      // at least one digit before the point
    EXPECT_EQ(Format2(-1.3587), "-1.36");
    EXPECT_EQ(Format2(123456789.0), "123456789.00");  // no digit grouping
}

TEST(DisplayPattern, RoundsTheBinaryValueNotTheDecimalText)
{
    // 11.895 is held as 11.8949999999999995737…, 0.125 exactly.
    EXPECT_EQ(Format2(11.895), "11.89");
    EXPECT_EQ(Format2(0.125), "0.12");  // exact half: round half to even, as printf
    EXPECT_EQ(Format2(11.895000000001525), "11.90");
}

TEST(DisplayPattern, NeverShowsNegativeZero)
{
    EXPECT_EQ(Format2(-0.0), "0.00");
    EXPECT_EQ(Format2(-0.004), "0.00");
    EXPECT_EQ(Format5(-0.000001), "0.00000");
    EXPECT_EQ(Format2(-0.005001), "-0.01");
    EXPECT_EQ(FormatShortest(-0.0), "0");
}

TEST(DisplayPattern, ShortestFormDropsTrailingZeros)
{
    EXPECT_EQ(FormatShortest(0.4673 * 100), "46.73");
    EXPECT_EQ(FormatShortest(0.5 * 100), "50");
    EXPECT_EQ(FormatShortest(1.0004 * 100), "100.04");
    EXPECT_EQ(FormatShortest(0.0002 * 100), "0.02");
}

TEST(DisplayPattern, IgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no comma-decimal locale installed";
    EXPECT_EQ(Format2(19.03), "19.03");
    EXPECT_EQ(FormatShortest(46.73), "46.73");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
