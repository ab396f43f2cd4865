// The fixed display patterns of the result boxes.
#include "display.h"

#include <charconv>

namespace {

// printf writes "-0.00" for small negative values; the box shows "0.00".
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

}  // namespace

std::string FormatFixed(double value, int decimals)
{
    return print(value, std::chars_format::fixed, decimals);
}

std::string FormatShortest(double value)
{
    return print(value, std::chars_format::general, 15);
}
