// Escaping of echoed values: controls, bidi characters, invalid UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "printable.h"

namespace {

struct Case {
    const char* what;
    std::string text;
    std::string shown;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.what;
}

class PrintableCases : public testing::TestWithParam<Case> {};

TEST_P(PrintableCases, EscapesWhatATerminalWouldActOnOrHide)
{
    EXPECT_EQ(Printable(GetParam().text), GetParam().shown) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Printable, PrintableCases,
    testing::Values(
        Case{"plain text and Chinese stay", "--rh=46.37% 湿球温度ψ℃ “引号”", "--rh=46.37% 湿球温度ψ℃ “引号”"},
        Case{"escape sequence", "\x1b[31mred", "\\x1b[31mred"},
        Case{"C0 controls and DEL", std::string("a\0b\tc\nd\re\x7f", 10), "a\\x00b\\x09c\\x0ad\\x0de\\x7f"},
        Case{"C1 control (CSI)", "\xc2\x9b" "31m", "\\u009B31m"},
        Case{"right-to-left override", "abc\xe2\x80\xae" "fed", "abc\\u202Efed"},
        Case{"isolates and marks", "\xe2\x81\xa6x\xe2\x81\xa9\xe2\x80\x8f", "\\u2066x\\u2069\\u200F"},
        Case{"byte-order mark", "\xef\xbb\xbfpsi", "\\uFEFFpsi"},
        Case{"line separator", "a\xe2\x80\xa8" "b", "a\\u2028b"},
        Case{"invalid byte", "a\xff" "b", "a\\xffb"},
        Case{"sequence cut short", "a\xe6\xb9", "a\\xe6\\xb9"},
        Case{"overlong slash", "\xc0\xaf", "\\xc0\\xaf"},
        Case{"surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
        Case{"beyond U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
        Case{"four-byte character stays", "\xf0\x9f\x8c\xa1", "\xf0\x9f\x8c\xa1"}));

}  // namespace
