// The notebook record: its sixteen lines byte for byte, the date with the
// regional separator, and how appending treats the notebook's own text.

#include <QApplication>
#include <QHash>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include "record.h"

namespace {

using Boxes = QHash<int, QString>;

// The calculation window's boxes as it opens: inputs with their defaults,
// result boxes holding their own names.
Boxes initialBoxes()
{
    Boxes b{{1, "101325"}, {2, "2.5"}, {3, "27"}, {4, "19"}, {5, "46.37"}};
    for (int n = 6; n <= 15; ++n)
        b[n] = QStringLiteral("Text%1").arg(n);
    return b;
}

// After calculating the default inputs in the ψ-known mode.
Boxes psiKnownResults()
{
    Boxes b = initialBoxes();
    b[6] = "19.03";
    b[8] = "10.32";
    b[9] = "53.60034";
    b[10] = "1.168";
    b[11] = "0.85653";
    b[12] = "3567.31";
    b[13] = "14.94";
    b[14] = "2201.92";
    b[15] = "1654.16250";
    return b;
}

// After calculating t = 27, ts = 19 in the ts-known mode.
Boxes tsKnownResults()
{
    Boxes b = initialBoxes();
    b[7] = "46.73";
    b[8] = "10.32";
    b[9] = "53.59903";
    b[10] = "1.168";
    b[11] = "0.85652";
    b[12] = "3539.81";
    b[13] = "14.94";
    b[14] = "2171.73";
    b[15] = "1654.08145";
    return b;
}

QString compose(InputMode mode, const Boxes& boxes)
{
    return ComposeRecord(
        mode, [&](int box) { return boxes.value(box, QStringLiteral("<missing>")); },
        QDate(2026, 3, 7), QLocale(QLocale::Chinese, QLocale::China));
}

}  // namespace

class RecordTest : public QObject {
    Q_OBJECT
private slots:
    void composesRecord_data();
    void composesRecord();
    void boxTextsAreCopiedUnchanged();
    void dateUsesRegionalSeparatorInYearMonthDayOrder_data();
    void dateUsesRegionalSeparatorInYearMonthDayOrder();
    void firstRecordInEmptyNotebook();
    void userTextStaysInFrontWithoutSeparator();
    void consecutiveRecordsAreSeparatedByOneEmptyLine();
    void appendDropsFormattingKeepsCharacters();
    void appendShowsTheEnd();
};

void RecordTest::composesRecord_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("psi-known before any calculation")
        << int(InputMode::PsiKnown) << initialBoxes()
        << QStringLiteral("Nimbara如下：\n（计算时间：2026/03/07)\n\n"
                          "  大气压力B=101325Pa\n"
                          "  干球温度t=27℃\n"
                          "  湿球温度 ts=Text6℃\n"
                          "  相对湿度 ψ=46.37%\n"
                          "  焓值 h=Text9kJ/kg干\n"
                          "  含湿量 d=Text8g/kg干\n"
                          "  密度 ρ=Text10kg/m3\n"
                          "  比容 v=Text11m3/kg\n"
                          "  干球饱和水蒸气分压力 Pqb=Text12Pa\n"
                          "  湿球饱和水蒸气分压力 Pqbs=Text14Pa\n"
                          "  水蒸气分压力 Pq=Text15Pa\n"
                          "  露点温度 tl=Text13℃\n"
                          "\n");
    QTest::newRow("ts-known before any calculation")
        << int(InputMode::TsKnown) << initialBoxes()
        << QStringLiteral("Nimbara如下：\n（计算时间：2026/03/07)\n\n"
                          "  大气压力B=101325Pa\n"
                          "  干球温度t=27℃\n"
                          "  湿球温度 ts=19℃\n"
                          "  相对湿度 ψ=Text7%\n"
                          "  焓值 h=Text9kJ/kg干\n"
                          "  含湿量 d=Text8g/kg干\n"
                          "  密度 ρ=Text10kg/m3\n"
                          "  比容 v=Text11m3/kg\n"
                          "  干球饱和水蒸气分压力 Pqb=Text12Pa\n"
                          "  湿球饱和水蒸气分压力 Pqbs=Text14Pa\n"
                          "  水蒸气分压力 Pq=Text15Pa\n"
                          "  露点温度 tl=Text13℃\n"
                          "\n");
    QTest::newRow("psi-known after calculating the defaults")
        << int(InputMode::PsiKnown) << psiKnownResults()
        << QStringLiteral("Nimbara如下：\n（计算时间：2026/03/07)\n\n"
                          "  大气压力B=101325Pa\n"
                          "  干球温度t=27℃\n"
                          "  湿球温度 ts=19.03℃\n"
                          "  相对湿度 ψ=46.37%\n"
                          "  焓值 h=53.60034kJ/kg干\n"
                          "  含湿量 d=10.32g/kg干\n"
                          "  密度 ρ=1.168kg/m3\n"
                          "  比容 v=0.85653m3/kg\n"
                          "  干球饱和水蒸气分压力 Pqb=3567.31Pa\n"
                          "  湿球饱和水蒸气分压力 Pqbs=2201.92Pa\n"
                          "  水蒸气分压力 Pq=1654.16250Pa\n"
                          "  露点温度 tl=14.94℃\n"
                          "\n");
    QTest::newRow("ts-known after calculating ts = 19")
        << int(InputMode::TsKnown) << tsKnownResults()
        << QStringLiteral("Nimbara如下：\n（计算时间：2026/03/07)\n\n"
                          "  大气压力B=101325Pa\n"
                          "  干球温度t=27℃\n"
                          "  湿球温度 ts=19℃\n"
                          "  相对湿度 ψ=46.73%\n"
                          "  焓值 h=53.59903kJ/kg干\n"
                          "  含湿量 d=10.32g/kg干\n"
                          "  密度 ρ=1.168kg/m3\n"
                          "  比容 v=0.85652m3/kg\n"
                          "  干球饱和水蒸气分压力 Pqb=3539.81Pa\n"
                          "  湿球饱和水蒸气分压力 Pqbs=2171.73Pa\n"
                          "  水蒸气分压力 Pq=1654.08145Pa\n"
                          "  露点温度 tl=14.94℃\n"
                          "\n");
}

void RecordTest::composesRecord()
{
    QFETCH(int, mode);
    QFETCH(Boxes, boxes);
    QFETCH(QString, expected);

    const QString record = compose(InputMode(mode), boxes);
    QCOMPARE(record.toUtf8(), expected.toUtf8());
    QCOMPARE(record.count(u'\n'), 16);
    QVERIFY(!record.contains(u'\r'));
}

void RecordTest::boxTextsAreCopiedUnchanged()
{
    // An emptied dew point leaves prefix and suffix; blanks, non-numbers and
    // characters beyond the BMP go in as typed.
    Boxes boxes = psiKnownResults();
    boxes[13] = QString();
    boxes[1] = " 1,013 25 ";
    boxes[3] = "abc😀";
    const QStringList lines = compose(InputMode::PsiKnown, boxes).split(u'\n');
    QCOMPARE(lines.value(14), QStringLiteral("  露点温度 tl=℃"));
    QCOMPARE(lines.value(13), QStringLiteral("  水蒸气分压力 Pq=1654.16250Pa"));
    QCOMPARE(lines.value(3), QStringLiteral("  大气压力B= 1,013 25 Pa"));
    QCOMPARE(lines.value(4), QStringLiteral("  干球温度t=abc😀℃"));
}

void RecordTest::dateUsesRegionalSeparatorInYearMonthDayOrder_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    // Month and day below ten, to see the padding; the locales' own orders
    // (M/d/yy, dd.MM.yy) must not leak into the record.
    QTest::newRow("zh_CN yyyy/M/d") << QLocale(QLocale::Chinese, QLocale::China) << "2026/03/07";
    QTest::newRow("en_US M/d/yy") << QLocale(QLocale::English, QLocale::UnitedStates) << "2026/03/07";
    QTest::newRow("de_DE dd.MM.yy") << QLocale(QLocale::German, QLocale::Germany) << "2026.03.07";
    QTest::newRow("nl_NL dd-MM-yyyy") << QLocale(QLocale::Dutch, QLocale::Netherlands) << "2026-03-07";
    QTest::newRow("hu_HU yyyy. MM. dd.") << QLocale(QLocale::Hungarian, QLocale::Hungary) << "2026.03.07";
    QTest::newRow("bg_BG quoted literal") << QLocale(QLocale::Bulgarian, QLocale::Bulgaria) << "2026.03.07";
    QTest::newRow("C d MMM yyyy, blanks only") << QLocale::c() << "2026/03/07";
}

void RecordTest::dateUsesRegionalSeparatorInYearMonthDayOrder()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(RecordDate(QDate(2026, 3, 7), locale), expected);
    // Two-digit fields stay two digits, and the year four.
    QCOMPARE(RecordDate(QDate(987, 11, 23), locale),
             QString(expected).replace("2026", "0987").replace("03", "11").replace("07", "23"));

    const QString record = ComposeRecord(InputMode::PsiKnown, [](int) { return QString(); },
                                         QDate(2026, 3, 7), locale);
    QCOMPARE(record.section(u'\n', 1, 1), QStringLiteral("（计算时间：%1)").arg(expected));
}

void RecordTest::firstRecordInEmptyNotebook()
{
    QTextEdit notebook;
    const QString record = compose(InputMode::PsiKnown, psiKnownResults());
    AppendRecord(&notebook, record);
    QCOMPARE(notebook.toPlainText(), record);
    QVERIFY(notebook.toPlainText().startsWith(QStringLiteral("Nimbara如下：\n")));
    QVERIFY(notebook.toPlainText().endsWith(QStringLiteral("℃\n\n")));
}

void RecordTest::userTextStaysInFrontWithoutSeparator()
{
    // State: the user typed a note without a final line break.
    // Action: a record is appended. Expected: the heading continues that line.
    QTextEdit notebook;
    QTest::keyClicks(&notebook, "Room 3");
    const QString record = compose(InputMode::TsKnown, tsKnownResults());
    AppendRecord(&notebook, record);
    QCOMPARE(notebook.toPlainText(), QStringLiteral("Room 3") + record);
    QVERIFY(notebook.toPlainText().startsWith(QStringLiteral("Room 3Nimbara如下：\n")));

    // With a final line break the note keeps its own line.
    QTextEdit second;
    second.setPlainText(QStringLiteral("测点 A\n"));
    AppendRecord(&second, record);
    QVERIFY(second.toPlainText().startsWith(QStringLiteral("测点 A\nNimbara如下：\n")));
}

void RecordTest::consecutiveRecordsAreSeparatedByOneEmptyLine()
{
    QTextEdit notebook;
    const QString record = compose(InputMode::PsiKnown, psiKnownResults());
    AppendRecord(&notebook, record);
    AppendRecord(&notebook, record);
    const QString text = notebook.toPlainText();
    QCOMPARE(text, record + record);
    QCOMPARE(text.count(QStringLiteral("℃\n\nNimbara如下：\n")), 1);
    QCOMPARE(text.split(u'\n').size(), 33);
}

void RecordTest::appendDropsFormattingKeepsCharacters()
{
    QTextEdit notebook;
    notebook.setHtml(QStringLiteral("<p><b>粗体</b> and <span style=\"color:#ff0000\">red</span></p>"));
    const QString before = notebook.toPlainText();
    AppendRecord(&notebook, compose(InputMode::PsiKnown, psiKnownResults()));

    QVERIFY(notebook.toPlainText().startsWith(before));
    QTextCursor cursor(notebook.document());
    cursor.setPosition(1);  // inside "粗体"
    QVERIFY(cursor.charFormat().fontWeight() < QFont::DemiBold);
    QVERIFY(!notebook.toHtml().contains(QStringLiteral("font-weight:700")));
    QVERIFY(!notebook.toHtml().contains(QStringLiteral("#ff0000")));
}

void RecordTest::appendShowsTheEnd()
{
    QTextEdit notebook;
    notebook.resize(300, 120);
    notebook.show();
    QVERIFY(QTest::qWaitForWindowExposed(&notebook));
    notebook.moveCursor(QTextCursor::Start);

    const QString record = compose(InputMode::PsiKnown, psiKnownResults());
    for (int i = 0; i < 3; ++i)
        AppendRecord(&notebook, record);
    QApplication::processEvents();

    QCOMPARE(notebook.textCursor().position(), notebook.document()->characterCount() - 1);
    QScrollBar* bar = notebook.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
}

QTEST_MAIN(RecordTest)
#include "record_test.moc"
