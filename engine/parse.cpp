// The lenient prefix parse of an input box's text.
#include "parse.h"

#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Appends an optional sign at s[i] to `out`, moving i past it.
void takeSign(const std::string& s, std::size_t& i, std::string& out)
{
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        out.push_back(s[i++]);
}

// Appends the run of ASCII digits at s[i] to `out`, moving i past it; returns
// how many there were.
std::size_t takeDigits(const std::string& s, std::size_t& i, std::string& out)
{
    const std::size_t start = i;
    while (i < s.size() && isDigit(s[i]))
        out.push_back(s[i++]);
    return i - start;
}

// strtod_l with the "C" locale: "." is always the decimal point, and overflow
// gives ±HUGE_VAL (infinity) rather than an error, which the calculation then
// reports as a value out of range.
locale_t cLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

}  // namespace

double ParseLenient(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            s.push_back(c);
    }

    // Build the numeric prefix in plain C syntax: sign, mantissa, "e" exponent.
    std::string number;
    std::size_t i = 0;
    takeSign(s, i, number);
    std::size_t digits = takeDigits(s, i, number);
    if (i < s.size() && s[i] == '.') {
        number.push_back(s[i++]);
        digits += takeDigits(s, i, number);
    }
    if (digits == 0)
        return 0.0;

    // An exponent counts only with at least one digit: "1e" reads as 1.
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        takeSign(s, j, exponent);
        if (takeDigits(s, j, exponent) > 0)
            number += exponent;
    }

    return strtod_l(number.c_str(), nullptr, cLocale());
}
