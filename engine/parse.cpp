// The lenient prefix parse of a typed value.
#include "parse.h"

#include <charconv>
#include <cstdlib>
#include <optional>
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

// The usual text, without blanks and with an "e" exponent if any, read in
// place; nullopt when it needs the general way below.
std::optional<double> parsePlain(std::string_view text)
{
    std::size_t i = 0;
    const auto digitsAt = [&] {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i - start;
    };
    const bool plus = !text.empty() && text[0] == '+';
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        ++i;
    std::size_t digits = digitsAt();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += digitsAt();
    }
    if (digits == 0)
        return std::nullopt;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digitsAt() > 0)
            end = i;
    }
    // Whatever follows must not be a blank, which the general way skips, or
    // a "D" exponent, which from_chars does not know.
    for (std::size_t k = end; k < text.size(); ++k) {
        const char c = text[k];
        if (c == ' ' || c == '\t' || c == '\n' || (k == end && (c == 'D' || c == 'd' || c == 'e' || c == 'E')))
            return std::nullopt;
    }
    double value = 0;
    const char* first = text.data() + (plus ? 1 : 0);
    const auto [stop, ec] = std::from_chars(first, text.data() + end, value);
    if (ec != std::errc{} || stop != text.data() + end)
        return std::nullopt;
    return value;
}

}  // namespace

double ParseLenient(std::string_view text)
{
    if (const std::optional<double> plain = parsePlain(text))
        return *plain;

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

    // from_chars reads the same syntax (but a leading "+") and rounds as
    // strtod does, in a fraction of the time; beyond the doubles, where it
    // reports the range instead of a value, strtod gives ±infinity or zero.
    double value = 0;
    const char* first = number.data() + (number[0] == '+' ? 1 : 0);
    const char* last = number.data() + number.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc{} && end == last)
        return value;
    return strtod_l(number.c_str(), nullptr, cLocale());
}
