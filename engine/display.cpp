// The fixed display patterns of the results.
#include "display.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// printf writes "-0.00" for small negative values; it is shown as "0.00".
std::string dropNegativeZero(std::string s)
{
    if (!s.empty() && s[0] == '-' && s.find_first_of("123456789", 1) == std::string::npos)
        s.erase(0, 1);
    return s;
}

// std::to_chars rounds like printf in the "C" locale, whatever locale the
// desktop program has set: "." stays the decimal point.
std::string print(double value, std::chars_format format, int precision)
{
    char buffer[400];  // the largest double in fixed form with 5 decimals needs 316
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (ec != std::errc{})
        return {};
    return dropNegativeZero(std::string(buffer, end));
}

// The exact value of the double times 10^decimals, rounded half to even,
// as printf rounds it: value = m·2^e, so value·10^p = m·5^p·2^(e+p), an integer
// times a power of two, exact in 128 bits for every value a result shows (m < 2⁵³,
// 5^p < 2¹²). False for values too large for that, which take the general way.
bool scaledAndRounded(double value, int decimals, unsigned __int128& scaled)
{
    // |value| = m·2^e with an integer m below 2⁵³, read off the bits.
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e = biased == 0 ? -1074 : biased - 1075;
    if (biased != 0)
        m |= std::uint64_t{1} << 52;
    if (m == 0) {
        scaled = 0;
        return true;
    }
    static constexpr std::uint64_t kPowersOfFive[] = {1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125};
    unsigned __int128 n = static_cast<unsigned __int128>(m) * kPowersOfFive[decimals];
    const int shift = e + decimals;
    if (shift >= 0) {
        if (shift > 50)  // would pass 2^127
            return false;
        scaled = n << shift;
        return true;
    }
    if (shift <= -127) {  // below a quarter: rounds to zero
        scaled = 0;
        return true;
    }
    const unsigned __int128 whole = n >> -shift;
    const unsigned __int128 rest = n - (whole << -shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (-shift - 1);
    scaled = whole + ((rest > half || (rest == half && (whole & 1))) ? 1 : 0);
    return true;
}

}  // namespace

std::string FormatFixed(double value, int decimals)
{
    // The display patterns, quickly; std::to_chars gives the same digits for
    // every double (the display tests compare the two on millions of values).
    unsigned __int128 scaled;
    if (decimals < 0 || decimals > 9 || !std::isfinite(value) || !scaledAndRounded(value, decimals, scaled))
        return print(value, std::chars_format::fixed, decimals);
    // Digits from the last; 64-bit division where the number allows.
    char buffer[48];
    char* end = buffer + sizeof buffer;
    char* first = end;
    const bool zero = scaled == 0;
    int count = 0;
    while (scaled > UINT64_MAX) {
        *--first = static_cast<char>('0' + static_cast<int>(scaled % 10));
        scaled /= 10;
        if (++count == decimals)
            *--first = '.';
    }
    for (std::uint64_t rest = static_cast<std::uint64_t>(scaled); rest != 0 || count <= decimals; rest /= 10) {
        *--first = static_cast<char>('0' + static_cast<int>(rest % 10));
        if (++count == decimals)
            *--first = '.';
    }
    // A value that rounds to zero is written without its minus sign.
    if (std::signbit(value) && !zero)
        *--first = '-';
    return std::string(first, end);
}

std::string FormatShortest(double value)
{
    return print(value, std::chars_format::general, 15);
}
