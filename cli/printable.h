// Escapes control characters and invalid UTF-8 in values echoed to the terminal.
#pragma once

#include <string>
#include <string_view>

// `text` made safe to echo in a message: every character a terminal would act
// on or that cannot be seen is written as an escape, so that a stray escape
// sequence cannot recolour the terminal and a right-to-left override cannot
// reorder the message. C0 controls, DEL and bytes that are not valid UTF-8
// become \xNN (\x1b); C1 controls, the bidirectional controls, zero-width
// characters, the line and paragraph separators and the byte-order mark become
// \uNNNN (\u202E). Everything else, Chinese included, is kept as it is.
std::string Printable(std::string_view text);
