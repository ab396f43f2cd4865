// The RTF writer: font table, runs with their formatting, Unicode escapes.
#include "rtfwriter.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

namespace {

const QString kDefaultFont = QStringLiteral("SimSun");

// What the writer keeps of a run's character format.
struct RunStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QString family;      // empty: the default font \f0
    int halfPoints = 0;  // 0: the document's default size
    QColor color;        // invalid: the reader's automatic colour
};

RunStyle styleOf(const QTextCharFormat& format)
{
    RunStyle s;
    s.bold = format.fontWeight() >= QFont::DemiBold;
    s.italic = format.fontItalic();
    s.underline = format.fontUnderline();
    s.strike = format.fontStrikeOut();
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty())
        s.family = families.first();
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        s.halfPoints = qRound(format.fontPointSize() * 2);
    else if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0)
        s.halfPoints = qRound(format.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0 * 2);
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        s.color = format.foreground().color();
    return s;
}

// Text in RTF's ASCII form. Each UTF-16 unit outside printable ASCII becomes
// \uN (signed 16-bit N) with the one-byte fallback \'3f, which readers skip
// (\uc1); the hex form cannot swallow a following letter or digit as \uN?
// followed by text can in some readers.
void appendText(QByteArray& out, QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u == QChar::ObjectReplacementCharacter) {
            // An embedded object (a pasted image) has no text to write.
        } else if (u >= 0x20 && u < 0x7f) {
            out += char(u);
        } else {
            const int n = u > 32767 ? int(u) - 65536 : int(u);
            out += "\\u" + QByteArray::number(n) + "\\'3f";
        }
    }
}

class Writer {
public:
    explicit Writer(const QTextDocument& document) : m_document(document)
    {
        m_fonts << kDefaultFont;
        const QFont base = document.defaultFont();
        if (base.pointSizeF() > 0)
            m_defaultHalfPoints = qRound(base.pointSizeF() * 2);
        else if (base.pixelSize() > 0)
            m_defaultHalfPoints = qRound(base.pixelSize() * 72.0 / 96.0 * 2);
    }

    QByteArray write()
    {
        // First pass collects the fonts and colours for the tables of the header.
        QList<QList<std::pair<QString, RunStyle>>> paragraphs;
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            QList<std::pair<QString, RunStyle>> runs;
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid())
                    continue;
                const RunStyle style = styleOf(fragment.charFormat());
                if (!style.family.isEmpty() && !m_fonts.contains(style.family))
                    m_fonts << style.family;
                if (style.color.isValid() && !m_colors.contains(style.color.rgb()))
                    m_colors << style.color.rgb();
                runs.append({fragment.text(), style});
            }
            paragraphs.append(runs);
        }

        QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052{\\fonttbl";
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 ";
            // A ";" ends the name here, and readers differ in whether an
            // escaped one ends it too; a name keeps its other characters.
            QString name = m_fonts[i];
            name.remove(u';');
            appendText(out, name);
            out += ";}";
        }
        out += "}\n";
        if (!m_colors.isEmpty()) {
            // Entry 0 stays empty: the reader's automatic colour.
            out += "{\\colortbl ;";
            for (const QRgb rgb : m_colors) {
                out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green"
                       + QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb))
                       + ";";
            }
            out += "}\n";
        }
        out += "\\uc1\\pard\\plain\\f0";
        if (m_defaultHalfPoints > 0)
            out += "\\fs" + QByteArray::number(m_defaultHalfPoints);
        out += ' ';

        // A block ends where the text had a line feed: every block but the last
        // closes with \par, so a trailing line feed gives a final empty paragraph.
        for (qsizetype p = 0; p < paragraphs.size(); ++p) {
            for (const auto& [text, style] : paragraphs[p])
                appendRun(out, text, style);
            if (p + 1 < paragraphs.size())
                out += "\\par\n";
        }
        out += "}\n";
        return out;
    }

private:
    void appendRun(QByteArray& out, const QString& text, const RunStyle& style)
    {
        QByteArray words;
        if (style.bold)
            words += "\\b";
        if (style.italic)
            words += "\\i";
        if (style.underline)
            words += "\\ul";
        if (style.strike)
            words += "\\strike";
        if (!style.family.isEmpty())
            words += "\\f" + QByteArray::number(m_fonts.indexOf(style.family));
        if (style.halfPoints > 0)
            words += "\\fs" + QByteArray::number(style.halfPoints);
        if (style.color.isValid())
            words += "\\cf" + QByteArray::number(m_colors.indexOf(style.color.rgb()) + 1);
        if (words.isEmpty()) {
            appendText(out, text);
            return;
        }
        // A group per formatted run: the formatting ends with the run, and the
        // space delimits the last control word from the text.
        out += '{' + words + ' ';
        appendText(out, text);
        out += '}';
    }

    const QTextDocument& m_document;
    QStringList m_fonts;
    QList<QRgb> m_colors;
    int m_defaultHalfPoints = 0;
};

}  // namespace

QByteArray WriteRtf(const QTextDocument& document)
{
    return Writer(document).write();
}
