// The notebook document as RTF for word processors.
#pragma once

#include <QByteArray>

class QTextDocument;

// The document as RTF 1.x for word processors: pure ASCII output, every
// non-ASCII character as a Unicode escape (Chinese and characters beyond the
// BMP included), one paragraph per line of the text, and the character
// formatting of each run (bold, italic, underline, font family, size, colour)
// kept. Text without a font of its own uses SimSun (宋体).
QByteArray WriteRtf(const QTextDocument& document);
