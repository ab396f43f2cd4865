// A small strict RTF reader for the rich-text fuzzer: reads back what the writer wrote.
#include "rtf_reader.h"

#include <vector>

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

enum class Destination { Body, FontTable, ColorTable, Skipped };

struct Group {
    Destination destination = Destination::Body;
    int skipAfterUnicode = 1;  // \ucN
    bool first = true;         // nothing read yet in this group
    bool nameEnded = false;    // a font table entry's ";" has been read
};

}  // namespace

RtfContent ReadRtf(const QByteArray& rtf)
{
    RtfContent content;
    if (!rtf.startsWith("{\\rtf1")) {
        content.error = QStringLiteral("does not start with {\\rtf1");
        return content;
    }
    std::vector<Group> groups;
    const qsizetype n = rtf.size();
    qsizetype i = 0;
    int pendingSkips = 0;  // fallback characters still to drop after \uN

    auto error = [&](const QString& what) {
        content.error = what + QStringLiteral(" at byte ") + QString::number(i);
    };

    while (i < n) {
        const char c = rtf[i];
        if (static_cast<unsigned char>(c) >= 0x80 || (static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n')) {
            error(QStringLiteral("byte outside printable ASCII"));
            return content;
        }
        if (c == '{') {
            Group inner = groups.empty() ? Group{} : groups.back();
            inner.first = true;
            if (!groups.empty() && groups.back().destination == Destination::FontTable)
                ++content.fonts;
            groups.push_back(inner);
            pendingSkips = 0;
            ++i;
            continue;
        }
        if (c == '}') {
            groups.pop_back();
            pendingSkips = 0;
            ++i;
            if (groups.empty()) {
                for (; i < n; ++i) {
                    if (rtf[i] != '\n' && rtf[i] != '\r' && rtf[i] != ' ') {
                        error(QStringLiteral("text after the closing brace"));
                        return content;
                    }
                }
                return content;
            }
            continue;
        }
        if (groups.empty()) {
            error(QStringLiteral("text outside the outer group"));
            return content;
        }
        Group& group = groups.back();
        const bool firstInGroup = group.first;
        group.first = false;
        auto put = [&](char16_t unit) {
            if (pendingSkips > 0) {
                --pendingSkips;
                return;
            }
            if (group.destination == Destination::Body)
                content.body += QChar(unit);
        };

        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (c == ';' && group.destination == Destination::ColorTable)
                ++content.colors;
            // A font's name ends at the first ";": anything after it means the
            // name itself held one, and the reader took the wrong name.
            if (group.destination == Destination::FontTable && groups.size() > 2) {
                if (group.nameEnded) {
                    error(QStringLiteral("text after the end of a font name"));
                    return content;
                }
                group.nameEnded = c == ';';
            }
            put(char16_t(c));
            ++i;
            continue;
        }
        // A control word or symbol.
        if (i + 1 >= n) {
            error(QStringLiteral("backslash at the end"));
            return content;
        }
        const char s = rtf[i + 1];
        if (!isLetter(s)) {
            if (s == '\\' || s == '{' || s == '}') {
                put(char16_t(s));
                i += 2;
            } else if (s == '\'') {
                if (i + 3 >= n || !isHex(rtf[i + 2]) || !isHex(rtf[i + 3])) {
                    error(QStringLiteral("bad \\'hh"));
                    return content;
                }
                if (pendingSkips == 0) {
                    error(QStringLiteral("\\'hh outside a Unicode fallback"));
                    return content;
                }
                --pendingSkips;
                i += 4;
            } else if (s == '*') {
                group.destination = Destination::Skipped;
                i += 2;
            } else {
                error(QStringLiteral("unknown control symbol"));
                return content;
            }
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && isLetter(rtf[j]))
            ++j;
        const QByteArray word = rtf.mid(i + 1, j - i - 1);
        bool hasParameter = false;
        long long parameter = 0;
        bool negative = false;
        if (j < n && rtf[j] == '-') {
            negative = true;
            ++j;
        }
        qsizetype digitsStart = j;
        while (j < n && isDigit(rtf[j]) && j - digitsStart < 10)
            parameter = parameter * 10 + (rtf[j++] - '0');
        hasParameter = j > digitsStart;
        if (negative && !hasParameter) {
            error(QStringLiteral("minus without a number"));
            return content;
        }
        if (negative)
            parameter = -parameter;
        if (j < n && rtf[j] == ' ')
            ++j;
        i = j;

        if (firstInGroup && word == "fonttbl") {
            group.destination = Destination::FontTable;
        } else if (firstInGroup && word == "colortbl") {
            group.destination = Destination::ColorTable;
        } else if (word == "par") {
            put(u'\n');
        } else if (word == "line") {
            put(u'\x2028');
        } else if (word == "tab") {
            put(u'\t');
        } else if (word == "u") {
            if (!hasParameter || parameter < -32768 || parameter > 65535) {
                error(QStringLiteral("\\u without a 16-bit number"));
                return content;
            }
            pendingSkips = 0;
            put(char16_t(parameter < 0 ? parameter + 65536 : parameter));
            pendingSkips = group.skipAfterUnicode;
        } else if (word == "uc") {
            group.skipAfterUnicode = int(parameter);
        } else if (group.destination == Destination::Body && word == "f") {
            content.highestFont = std::max(content.highestFont, int(parameter));
        } else if (group.destination == Destination::Body && word == "cf") {
            content.highestColor = std::max(content.highestColor, int(parameter));
        }
    }
    error(QStringLiteral("unbalanced braces: the outer group never closes"));
    return content;
}
