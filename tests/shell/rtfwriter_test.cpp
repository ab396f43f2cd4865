// The rich-text writer: the RTF itself, and the text an independent reader gets back.
//
// The rich-text writer: escaping, Unicode escapes, paragraphs and formatting
// runs in the RTF itself, and the text read back by an independent reader
// (Debian's unrtf).

#include <QDebug>
#include <QFont>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include "golden.h"
#include "rtfwriter.h"

namespace {

QByteArray rtfOf(const QString& plainText)
{
    QTextDocument document;
    document.setPlainText(plainText);
    return WriteRtf(document);
}

// The part after the header: what the text became.
QByteArray bodyOf(const QByteArray& rtf)
{
    const qsizetype start = rtf.indexOf("\\pard\\plain\\f0");
    return start < 0 ? QByteArray() : rtf.mid(rtf.indexOf(' ', start) + 1);
}

// Decodes unrtf's HTML to plain text: <br> ends a line, entities become
// characters (surrogate pairs joined), other tags go.
QString htmlToText(QString html)
{
    const qsizetype bodyStart = html.indexOf(QStringLiteral("<body>"));
    const qsizetype bodyEnd = html.lastIndexOf(QStringLiteral("</body>"));
    if (bodyStart >= 0 && bodyEnd > bodyStart)
        html = html.mid(bodyStart + 6, bodyEnd - bodyStart - 6);
    html.remove(u'\n');
    html.replace(QRegularExpression(QStringLiteral("<br\\s*/?>")), QStringLiteral("\n"));
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));

    QString text;
    static const QRegularExpression entity(QStringLiteral("&(#(\\d+)|#x([0-9a-fA-F]+)|[a-z]+);"));
    qsizetype pos = 0;
    for (auto it = entity.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text += html.mid(pos, m.capturedStart() - pos);
        pos = m.capturedEnd();
        uint code = 0;
        if (m.capturedLength(2))
            code = m.captured(2).toUInt();
        else if (m.capturedLength(3))
            code = m.captured(3).toUInt(nullptr, 16);
        const QString name = m.captured(1);
        if (code > 0xFFFF)
            text += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        else if (code)
            text += QChar(char16_t(code));  // lone surrogates pair up in the string
        else if (name == "amp")
            text += u'&';
        else if (name == "lt")
            text += u'<';
        else if (name == "gt")
            text += u'>';
        else if (name == "quot")
            text += u'"';
        else if (name == "nbsp")
            text += QChar::Nbsp;
        else  // unrtf names some characters (&psi;); Qt's HTML reader knows the names
            text += QTextDocumentFragment::fromHtml(m.captured(0)).toPlainText();
    }
    text += html.mid(pos);
    return text;
}

// unrtf folds runs of blanks and turns a tab into blanks; compare with every
// run of blanks as one space and no blanks at line ends.
QString foldBlanks(QString text)
{
    text.replace(QRegularExpression(QStringLiteral("[ \\t\\x{00A0}]+")), QStringLiteral(" "));
    text.replace(QRegularExpression(QStringLiteral(" ?\\n ?")), QStringLiteral("\n"));
    return text.trimmed();
}

// Runs unrtf on the RTF and gives its HTML; fails the test (not skips) when
// unrtf is not installed.
bool unrtfHtml(const QByteArray& rtf, QString* html)
{
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty()) {
        qWarning("unrtf is not installed: run scripts/setup");
        return false;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notebook.doc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
        return false;
    file.close();
    QProcess process;
    process.start(unrtf, {QStringLiteral("--html"), path});
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return false;
    *html = QString::fromUtf8(process.readAllStandardOutput());
    return true;
}

// The text unrtf reads from the RTF.
bool readBack(const QByteArray& rtf, QString* text)
{
    QString html;
    if (!unrtfHtml(rtf, &html))
        return false;
    *text = htmlToText(html);
    return true;
}

}  // namespace

class RtfWriterTest : public QObject {
    Q_OBJECT
private slots:
    void headerAndClosingBrace();
    void escapesRtfSpecials();
    void writesNonAsciiAsSignedUnicodeEscapes_data();
    void writesNonAsciiAsSignedUnicodeEscapes();
    void lineFeedsBecomeParagraphsAndTabsTabs();
    void keepsFormattingRuns();
    void fontNameWithASemicolonKeepsTheFontTable();
    void readBackByUnrtf_data();
    void readBackByUnrtf();
};

void RtfWriterTest::headerAndClosingBrace()
{
    const QByteArray rtf = rtfOf(QStringLiteral("记录 {x}\n"));
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052"
                           "{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}"));
    QVERIFY(rtf.contains("\\uc1"));
    QVERIFY(!rtf.contains("\\colortbl"));  // plain text uses no colour
    QVERIFY(rtf.trimmed().endsWith('}'));

    // Pure ASCII, and the groups balance once escaped braces are left out.
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        QVERIFY2(uchar(c) < 0x80, "non-ASCII byte in the RTF");
        if (c == '\\') {
            ++i;
            continue;
        }
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        QVERIFY(depth >= 0);
        QVERIFY(depth > 0 || i == rtf.size() - 1 || rtf.mid(i + 1).trimmed().isEmpty());
    }
    QCOMPARE(depth, 0);
}

void RtfWriterTest::escapesRtfSpecials()
{
    QCOMPARE(bodyOf(rtfOf(QStringLiteral("a{b}c\\d \\par x"))),
             QByteArray("a\\{b\\}c\\\\d \\\\par x}\n"));
}

void RtfWriterTest::writesNonAsciiAsSignedUnicodeEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Chinese") << QStringLiteral("中文") << QByteArray("\\u20013\\'3f\\u25991\\'3f");
    QTest::newRow("above 32767 is negative: full-width parenthesis")
        << QStringLiteral("（") << QByteArray("\\u-248\\'3f");
    QTest::newRow("degree sign and psi") << QStringLiteral("℃ψ") << QByteArray("\\u8451\\'3f\\u968\\'3f");
    QTest::newRow("emoji beyond the BMP: two escapes")
        << QStringLiteral("😀") << QByteArray("\\u-10179\\'3f\\u-8704\\'3f");
    // A digit or letter after the character stays text, not part of the escape.
    QTest::newRow("digits after") << QStringLiteral("干1a") << QByteArray("\\u24178\\'3f1a");
}

void RtfWriterTest::writesNonAsciiAsSignedUnicodeEscapes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(bodyOf(rtfOf(text)), expected + "}\n");
}

void RtfWriterTest::lineFeedsBecomeParagraphsAndTabsTabs()
{
    QCOMPARE(bodyOf(rtfOf(QStringLiteral("a\tb\n\nc\n"))),
             QByteArray("a\\tab b\\par\n\\par\nc\\par\n}\n"));
    QCOMPARE(bodyOf(rtfOf(QStringLiteral("\ttabc"))), QByteArray("\\tab tabc}\n"));
}

void RtfWriterTest::keepsFormattingRuns()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const auto run = [&](const QString& text, const std::function<void(QTextCharFormat&)>& set) {
        QTextCharFormat format;
        set(format);
        cursor.insertText(text, format);
    };
    run("plain ", [](QTextCharFormat&) {});
    run("粗", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    run("ital", [](QTextCharFormat& f) { f.setFontItalic(true); });
    run("under", [](QTextCharFormat& f) { f.setFontUnderline(true); });
    run("arial", [](QTextCharFormat& f) { f.setFontFamilies({"Arial"}); });
    run("kai", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("楷体")}); });
    run("big", [](QTextCharFormat& f) { f.setFontPointSize(14); });
    run("red", [](QTextCharFormat& f) { f.setForeground(QColor(255, 0, 0)); });
    run("blue bold", [](QTextCharFormat& f) {
        f.setForeground(QColor(0, 0, 255));
        f.setFontWeight(QFont::Bold);
    });
    run("red again", [](QTextCharFormat& f) { f.setForeground(QColor(255, 0, 0)); });
    const QByteArray rtf = WriteRtf(document);

    QVERIFY(rtf.contains("{\\f1\\fnil\\fcharset134 Arial;}{\\f2\\fnil\\fcharset134 \\u26999\\'3f\\u20307\\'3f;}"));
    QVERIFY(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"));
    QVERIFY(bodyOf(rtf).startsWith("plain {\\b \\u31895\\'3f}"));
    QVERIFY(rtf.contains("{\\i ital}{\\ul under}{\\f1 arial}{\\f2 kai}{\\fs28 big}{\\cf1 red}"
                         "{\\b\\cf2 blue bold}{\\cf1 red again}"));

    // The formatted runs still read back as the document's text.
    QString readText;
    QVERIFY2(readBack(rtf, &readText), "unrtf could not read the RTF (is it installed?)");
    QCOMPARE(foldBlanks(readText), foldBlanks(document.toPlainText()));
}

void RtfWriterTest::fontNameWithASemicolonKeepsTheFontTable()
{
    // A ";" ends a name in the font table: written as it is, a reader takes
    // "Evil" for the name and the rest for something else.
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat evil;
    evil.setFontFamilies({QStringLiteral("Evil;Font")});
    cursor.insertText(QStringLiteral("a"), evil);
    QTextCharFormat arial;
    arial.setFontFamilies({QStringLiteral("Arial")});
    cursor.insertText(QStringLiteral("b"), arial);
    const QByteArray rtf = WriteRtf(document);
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}{\\f1\\fnil\\fcharset134 EvilFont;}"
                         "{\\f2\\fnil\\fcharset134 Arial;}}"));

    QString html;
    QVERIFY2(unrtfHtml(rtf, &html), "unrtf could not read the RTF (is it installed?)");
    QVERIFY2(html.contains(QStringLiteral("font table contains 3 fonts")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("<font face=\"EvilFont\">a</font>")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("<font face=\"Arial\">b</font>")), qPrintable(html));
}

void RtfWriterTest::readBackByUnrtf_data()
{
    QTest::addColumn<QString>("text");
    const auto shown = [](Quantity q) { return QString::fromUtf8(GoldenText(InputMode::PsiKnown, q)); };
    QTest::newRow("a record with the user's notes")
        << QStringLiteral("测点 A：{机房} C:\\data\\x.doc\tok & <ok> \"q\"\n"
                          "Nimbara如下：\n（计算时间：2026/03/07)\n\n")
               + QStringLiteral("  大气压力B=") + shown(Quantity::B) + QStringLiteral("Pa\n")
               + QStringLiteral("  湿球温度 ts=") + shown(Quantity::ts) + QStringLiteral("℃\n")
               + QStringLiteral("  相对湿度 ψ=") + shown(Quantity::psi) + QStringLiteral("%\n")
               + QStringLiteral("  密度 ρ=") + shown(Quantity::rho) + QStringLiteral("kg/m3\n")
               + QStringLiteral("  焓值 h=") + shown(Quantity::h) + QStringLiteral("kJ/kg干\n\n");
    QTest::newRow("emoji and digits after escapes") << QStringLiteral("好😀1 ψ2 ℃3\n第二行");
}

void RtfWriterTest::readBackByUnrtf()
{
    QFETCH(QString, text);
    QString readText;
    QVERIFY2(readBack(rtfOf(text), &readText), "unrtf could not read the RTF (is it installed?)");
    if (foldBlanks(readText) != foldBlanks(text))
        qWarning().noquote() << "read back:" << readText;
    QCOMPARE(foldBlanks(readText), foldBlanks(text));
}

QTEST_MAIN(RtfWriterTest)
#include "rtfwriter_test.moc"
