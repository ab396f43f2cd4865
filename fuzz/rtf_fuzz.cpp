// The rich-text writer on random documents: text with random code points
// (astral characters as surrogate pairs, lone surrogates, braces, backslashes,
// tabs, line feeds, separators, control characters, Chinese) and random runs of
// bold, italic, underline, strike-out, family, size and colour, built through
// QTextCursor from the fuzz input.
//
// Checked: the RTF is pure ASCII with balanced braces and nothing after the
// outer group; its body text, read back by a reader of our own, is the
// document's text (paragraphs joined by "\n", embedded objects left out), and
// every font and colour it uses is in its tables.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "rtf_reader.h"
#include "rtfwriter.h"

namespace {

const char16_t kSpecial[] = {
    u'{', u'}', u'\\', u'\t', u'\n', u'\r', u' ', u';', u'?', u'\'', u'0', u'a',
    0x2028,  // line separator
    0x2029,  // paragraph separator
    0xFFFC,  // object replacement
    0x00A0,  // no-break space
    0x0000, 0x001F, 0x007F, 0x0080, 0x00FF, 0xFEFF, 0xFFFF, 0x7FFF, 0x8000,
    u'中', u'文', u'℃', u'ψ', u'υ', u'露', 0xD800, 0xDBFF, 0xDC00, 0xDFFF,
};

const char* const kFamilies[] = {
    "SimSun", "宋体", "Times New Roman", "Noto Sans CJK SC", "a{b}c\\d", "Ｆｏｎｔ😀", "Evil;Font", ";", "",
};

QString randomText(FuzzedDataProvider& in)
{
    QString text;
    const int length = in.ConsumeIntegralInRange(0, 24);
    for (int i = 0; i < length && in.remaining_bytes() > 0; ++i) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            text += QChar(char16_t(in.ConsumeIntegralInRange(0x20, 0x7e)));
            break;
        case 1:
            text += QChar(in.PickValueInArray(kSpecial));
            break;
        case 2: {
            const char32_t astral = in.ConsumeIntegralInRange<char32_t>(0x10000, 0x10FFFF);
            text += QString::fromUcs4(&astral, 1);
            break;
        }
        default:
            text += QChar(in.ConsumeIntegral<char16_t>());
            break;
        }
    }
    return text;
}

void changeFormat(FuzzedDataProvider& in, QTextCharFormat& format)
{
    switch (in.ConsumeIntegralInRange(0, 8)) {
    case 0:
        format.setFontWeight(in.ConsumeBool() ? QFont::Bold : QFont::Normal);
        break;
    case 1:
        format.setFontItalic(in.ConsumeBool());
        break;
    case 2:
        format.setFontUnderline(in.ConsumeBool());
        break;
    case 3:
        format.setFontStrikeOut(in.ConsumeBool());
        break;
    case 4:
        format.setFontFamilies({QString::fromUtf8(in.PickValueInArray(kFamilies))});
        break;
    case 5:
        format.setFontPointSize(in.ConsumeFloatingPointInRange(0.5, 200.0));
        break;
    case 6:
        format.setProperty(QTextFormat::FontPixelSize, in.ConsumeIntegralInRange(1, 300));
        break;
    case 7:
        format.setForeground(QColor::fromRgb(in.ConsumeIntegral<uint32_t>() | 0xff000000u));
        break;
    default:
        format = QTextCharFormat();
        break;
    }
}

[[noreturn]] void fail(const QString& what, const QByteArray& rtf)
{
    std::fprintf(stderr, "rtf_fuzz: %s\n--- RTF ---\n%s\n", qPrintable(what), rtf.constData());
    std::abort();
}

QString escaped(const QString& s)
{
    QString out;
    for (QChar c : s)
        out += QStringLiteral("U+%1 ").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);  // lives for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    QTextDocument document;
    if (in.ConsumeBool())
        document.setDefaultFont(QFont(QStringLiteral("SimSun"), in.ConsumeIntegralInRange(1, 72)));
    QTextCursor cursor(&document);
    QTextCharFormat format;
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            cursor.insertText(randomText(in), format);
            break;
        case 1:
            changeFormat(in, format);
            break;
        case 2:
            cursor.setPosition(in.ConsumeIntegralInRange(0, document.characterCount() - 1));
            break;
        default: {
            // Format a random stretch of what is there.
            const int last = document.characterCount() - 1;
            cursor.setPosition(in.ConsumeIntegralInRange(0, last));
            cursor.setPosition(in.ConsumeIntegralInRange(0, last), QTextCursor::KeepAnchor);
            QTextCharFormat stretch;
            changeFormat(in, stretch);
            cursor.mergeCharFormat(stretch);
            cursor.clearSelection();
            break;
        }
        }
    }

    const QByteArray rtf = WriteRtf(document);
    const RtfContent content = ReadRtf(rtf);
    if (!content.error.isEmpty())
        fail(QStringLiteral("unreadable RTF: ") + content.error, rtf);

    QString expected;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            expected += u'\n';
        expected += block.text();
    }
    expected.remove(QChar::ObjectReplacementCharacter);
    if (content.body != expected)
        fail(QStringLiteral("text read back differs:\nexpected %1\ngot      %2")
                 .arg(escaped(expected), escaped(content.body)),
             rtf);
    if (content.highestFont >= content.fonts)
        fail(QStringLiteral("font \\f%1 used, %2 in the table").arg(content.highestFont).arg(content.fonts), rtf);
    if (content.highestColor >= content.colors && content.highestColor > 0)
        fail(QStringLiteral("colour \\cf%1 used, %2 in the table").arg(content.highestColor).arg(content.colors), rtf);
    return 0;
}
