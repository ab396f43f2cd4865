// Escapes control characters and invalid UTF-8 in values echoed to the terminal.
#include "printable.h"

#include <cstdio>

namespace {

void appendEscape(std::string& out, const char* format, unsigned value)
{
    char escape[12];
    const int n = std::snprintf(escape, sizeof escape, format, value);
    out.append(escape, static_cast<std::size_t>(n));
}

bool invisible(char32_t c)
{
    return (c >= 0x80 && c <= 0x9F)                              // C1 controls
           || c == 0x061C                                        // Arabic letter mark
           || (c >= 0x200B && c <= 0x200F)                       // zero-width, LRM, RLM
           || (c >= 0x2028 && c <= 0x202E)                       // separators, embeddings, overrides
           || (c >= 0x2060 && c <= 0x2069)                       // word joiner, isolates
           || c == 0xFEFF                                        // byte-order mark
           || (c >= 0xFFF9 && c <= 0xFFFB);                      // interlinear annotation
}

// The length of the valid UTF-8 sequence at the start of `text` and its code
// point; 0 when it is not one (a stray continuation byte, a sequence cut
// short, an overlong form, a surrogate or a value above U+10FFFF).
std::size_t decode(std::string_view text, char32_t& c)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length;
    char32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

std::string Printable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7F)
                appendEscape(out, "\\x%02x", byte);
            else
                out.push_back(static_cast<char>(byte));
            ++i;
            continue;
        }
        char32_t c = 0;
        const std::size_t length = decode(text.substr(i), c);
        if (length == 0) {
            appendEscape(out, "\\x%02x", byte);
            ++i;
        } else {
            if (invisible(c))
                appendEscape(out, "\\u%04X", static_cast<unsigned>(c));
            else
                out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}
