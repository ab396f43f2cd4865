// The display patterns: rounding, negative zero, the largest values, the locale.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>

#include "display.h"

namespace {

// The display patterns "0.00" … "0.00000".
std::string Fixed2(double v) { return FormatFixed(v, 2); }
std::string Fixed3(double v) { return FormatFixed(v, 3); }
std::string Fixed4(double v) { return FormatFixed(v, 4); }
std::string Fixed5(double v) { return FormatFixed(v, 5); }

TEST(DisplayPattern, WritesExactlyTheDecimalsOfThePattern)
{
    EXPECT_EQ(Fixed2(19.03), "19.03");
    EXPECT_EQ(Fixed2(3), "3.00");
    EXPECT_EQ(Fixed3(1.16789), "1.168");
    EXPECT_EQ(Fixed4(0.4672796), "0.4673");
    EXPECT_EQ(Fixed5(1654.1625), "1654.16250");
    EXPECT_EQ(Fixed2(0.004), "0.00");      // at least one digit before the point
    EXPECT_EQ(Fixed2(-1.3587), "-1.36");
    EXPECT_EQ(Fixed2(123456789.0), "123456789.00");  // no digit grouping
}

TEST(DisplayPattern, RoundsTheBinaryValueNotTheDecimalText)
{
    // 11.895 is held as 11.8949999999999995737…, 0.125 exactly.
    EXPECT_EQ(Fixed2(11.895), "11.89");
    EXPECT_EQ(Fixed2(0.125), "0.12");  // exact half: round half to even, as printf
    EXPECT_EQ(Fixed2(11.895000000001525), "11.90");
}

TEST(DisplayPattern, RoundsEveryDoubleAsPrintfDoes)
{
    // The patterns are formed by exact integer arithmetic; printf's rounding
    // (std::to_chars, negative zero dropped) is the reference, over values of
    // every size and the halves and near-halves of each pattern.
    const auto reference = [](double v, int decimals) {
        char buffer[400];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
        std::string s(buffer, end);
        if (s[0] == '-' && s.find_first_of("123456789") == std::string::npos)
            s.erase(0, 1);
        return s;
    };
    std::uint64_t state = 42;
    const auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state;
    };
    long differences = 0;
    for (int i = 0; i < 2000000; ++i) {
        double v;
        switch (i % 4) {
        case 0: v = std::bit_cast<double>(next()); break;  // any double
        case 1: v = std::ldexp(static_cast<double>(next() >> 11), static_cast<int>(next() % 120) - 100); break;
        case 2: v = (static_cast<double>(next() % 2000001) - 1000000) / 2000; break;  // halves of the last digit
        default: v = std::nextafter((static_cast<double>(next() % 20000001) - 10000000) / 200000, 0.0); break;
        }
        if (!std::isfinite(v))
            continue;
        for (int decimals : {2, 3, 4, 5}) {
            if (FormatFixed(v, decimals) != reference(v, decimals) && ++differences <= 5)
                ADD_FAILURE() << std::hexfloat << v << " with " << decimals << " decimals: " << FormatFixed(v, decimals)
                              << " vs " << reference(v, decimals);
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(DisplayPattern, NeverShowsNegativeZero)
{
    EXPECT_EQ(Fixed2(-0.0), "0.00");
    EXPECT_EQ(Fixed2(-0.004), "0.00");
    EXPECT_EQ(Fixed5(-0.000001), "0.00000");
    EXPECT_EQ(Fixed2(-0.005001), "-0.01");
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
    EXPECT_EQ(Fixed2(19.03), "19.03");
    EXPECT_EQ(FormatShortest(46.73), "46.73");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
