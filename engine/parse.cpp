// The lenient prefix parse of an input box's text.
#include "parse.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

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
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        number.push_back(s[i++]);
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        number.push_back(s[i++]);
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        number.push_back(s[i++]);
        while (i < s.size() && isDigit(s[i])) {
            number.push_back(s[i++]);
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;

    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exponent.push_back(s[j++]);
        std::size_t expDigits = 0;
        while (j < s.size() && isDigit(s[j])) {
            exponent.push_back(s[j++]);
            ++expDigits;
        }
        if (expDigits > 0)
            number += exponent;
    }

    return strtod_l(number.c_str(), nullptr, cLocale());
}
