// The lenient parse against a reference built another way: the prefix a
// number may take is found by std::from_chars (after the blanks are dropped,
// the sign is taken off and the D/d exponent letters become e), and its value
// by strtod. The parse must never crash, never give NaN, and agree bit for bit
// (signed zeros included) with the reference.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "parse.h"

namespace {

double reference(std::string_view text)
{
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            s.push_back(c);
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    std::string rest = s.substr(i);
    // from_chars would also read "inf" and "nan": a number must start with a
    // digit, or with a point followed by a digit.
    const bool startsNumber =
        !rest.empty() && ((rest[0] >= '0' && rest[0] <= '9')
                          || (rest[0] == '.' && rest.size() > 1 && rest[1] >= '0' && rest[1] <= '9'));
    if (!startsNumber)
        return 0.0;
    for (char& c : rest) {
        if (c == 'D' || c == 'd')
            c = 'e';
    }
    double ignored = 0;
    const auto result =
        std::from_chars(rest.data(), rest.data() + rest.size(), ignored, std::chars_format::general);
    std::string prefix = (negative ? "-" : "") + rest.substr(0, std::size_t(result.ptr - rest.data()));
    return std::strtod(prefix.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double got = ParseLenient(text);
    if (std::isnan(got)) {
        std::fprintf(stderr, "ParseLenient gave NaN\n");
        std::abort();
    }
    const double expected = reference(text);
    if (!(got == expected) || std::signbit(got) != std::signbit(expected)) {
        std::fprintf(stderr, "ParseLenient gave %.17g, the reference %.17g\n", got, expected);
        std::abort();
    }
    return 0;
}
