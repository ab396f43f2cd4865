// The lenient prefix parse: blanks, units, exponents, limits, the locale.
#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

#include "parse.h"

namespace {

struct ParseCase {
    const char* text;
    double value;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.text; }

class LenientParse : public testing::TestWithParam<ParseCase> {};

TEST_P(LenientParse, ReadsTheLongestNumericPrefix)
{
    EXPECT_EQ(ParseLenient(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LenientParse,
    testing::Values(
        // plain numbers
        ParseCase{"101325", 101325}, ParseCase{"2.5", 2.5}, ParseCase{"-12.75", -12.75},
        ParseCase{"+3", 3}, ParseCase{".5", 0.5}, ParseCase{"5.", 5}, ParseCase{"007", 7},
        // units and other trailing text are ignored
        ParseCase{"27℃", 27}, ParseCase{"46.37%", 46.37}, ParseCase{"1.2.3", 1.2},
        ParseCase{"12abc", 12}, ParseCase{"3-4", 3},
        // blanks, tabs and line feeds are ignored anywhere
        ParseCase{"  27", 27}, ParseCase{"2 7", 27}, ParseCase{"1 0 1\t3\n25", 101325},
        ParseCase{"- 5", -5}, ParseCase{"1 e 3", 1000},
        // but not carriage returns or other spaces
        ParseCase{"2\r7", 2}, ParseCase{"2\u00a07", 2}, ParseCase{"2\u30007", 2},
        ParseCase{"\u00a027", 0},
        // exponents by E or D, only with digits
        ParseCase{"1e3", 1000}, ParseCase{"1E-2", 0.01}, ParseCase{"2.5D2", 250},
        ParseCase{"2.5d+1", 25}, ParseCase{"1e", 1}, ParseCase{"1e+", 1}, ParseCase{"1ex", 1},
        ParseCase{"1e-999", 0},
        // no number at all
        ParseCase{"", 0}, ParseCase{"   ", 0}, ParseCase{"abc", 0}, ParseCase{".", 0},
        ParseCase{"-.", 0}, ParseCase{"-", 0}, ParseCase{"e5", 0}, ParseCase{"0x10", 0},
        ParseCase{"nan", 0}, ParseCase{"inf", 0}, ParseCase{"１２", 0}, ParseCase{"--5", 0},
        ParseCase{",5", 0}, ParseCase{"46,37", 46}));

TEST(LenientParseLimits, OverflowReadsAsInfinity)
{
    EXPECT_EQ(ParseLenient("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseLenient("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseLenient("1e99999999999999999999999"), std::numeric_limits<double>::infinity());
}

TEST(LenientParseLimits, RoundsEveryNumberAsStrtodDoes)
{
    // Random decimal texts of every length and exponent, subnormal and
    // overflowing ones included, against the C library's own reading.
    locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    std::uint64_t state = 7;
    const auto next = [&](std::uint64_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 17) % n;
    };
    long differences = 0;
    for (int i = 0; i < 300000; ++i) {
        std::string text = next(3) == 0 ? "-" : next(2) == 0 ? "+" : "";
        const std::uint64_t whole = next(25), fraction = next(25);
        for (std::uint64_t k = 0; k < whole; ++k)
            text += static_cast<char>('0' + next(10));
        if (next(3) != 0)
            text += '.';
        for (std::uint64_t k = 0; k < fraction; ++k)
            text += static_cast<char>('0' + next(10));
        if (whole + fraction == 0)
            continue;
        if (next(2) == 0) {
            text += 'e';
            text += std::to_string(static_cast<int>(next(700)) - 350);
        }
        const double want = strtod_l(text.c_str(), nullptr, c);
        const double got = ParseLenient(text);
        if (std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(want) && ++differences <= 5)
            ADD_FAILURE() << text << ": " << got << " vs " << want;
    }
    freelocale(c);
    EXPECT_EQ(differences, 0);
}

TEST(LenientParseLimits, VeryLongDigitStringsAreRead)
{
    std::string digits(10000, '9');
    EXPECT_EQ(ParseLenient(digits), std::numeric_limits<double>::infinity());
    std::string small = "0." + std::string(5000, '0') + "1";
    EXPECT_EQ(ParseLenient(small), 0.0);
}

TEST(LenientParseLimits, IgnoresTheProcessLocale)
{
    // A desktop session in a comma-decimal locale must still read "." as the point.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no comma-decimal locale installed";
    EXPECT_EQ(ParseLenient("46.37"), 46.37);
    EXPECT_EQ(ParseLenient("46,37"), 46);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
