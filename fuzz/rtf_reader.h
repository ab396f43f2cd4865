// A small strict RTF reader for the rich-text fuzzer: reads back what the writer wrote.
#pragma once

#include <QByteArray>
#include <QString>

// A small RTF reader for checking the rich-text writer's output: enough of
// RTF 1.x to get the body text back (\uN with its fallback, \par, \line,
// \tab, the escaped symbols) and to count the font and colour tables. Strict
// where the writer should be: anything outside printable ASCII, CR and LF, an
// unbalanced brace, an unknown control symbol, text after the closing brace
// or after the ";" that ends a font's name is an error.
struct RtfContent {
    QString error;            // empty when the input read cleanly
    QString body;             // the text; \par as "\n", \line as U+2028, \tab as "\t"
    int fonts = 0;            // entries of the font table
    int colors = 0;           // entries of the colour table, the automatic one included
    int highestFont = -1;     // highest \fN used outside the tables
    int highestColor = 0;     // highest \cfN used
};

RtfContent ReadRtf(const QByteArray& rtf);
