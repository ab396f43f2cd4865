// The lenient prefix parse: how a typed value reads as a number.
#pragma once

#include <string_view>

// Reads the number a typed text holds, the way an engineer's typing is meant:
// blanks, tabs and line feeds anywhere in the text are ignored; then the longest
// prefix that reads as a decimal number is taken: an optional sign, ASCII
// digits with at most one "." (whatever the regional settings), and an optional
// exponent introduced by E, e, D or d with at least one digit. A text that does
// not begin with a number reads as 0. It never fails: "27℃" is 27, "46.37%" is
// 46.37, "1e" is 1, "." is 0, "1e999" is +infinity.
// Independent of the process locale.
double ParseLenient(std::string_view text);
