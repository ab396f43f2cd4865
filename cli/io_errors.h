// Reasons for failed reads and writes in Chinese (from errno), and writing with a report.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "safefile.h"  // SystemErrorText


// "：" and the reason, to append to a message; empty when the reason is unknown.
std::string ReasonSuffix(int code);

// Writes `text` to `out` and flushes it. When that fails, writes
// "nimbara-calc：写出<what>时出错：<reason>" to `err` and returns false.
bool WriteText(std::ostream& out, std::string_view text, std::ostream& err, std::string_view what);
