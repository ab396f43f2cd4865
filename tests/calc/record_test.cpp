// The notebook record: its sixteen lines byte for byte, and its date with the regional separator.

#include <QHash>
#include <QSet>
#include <QTest>

#include <functional>

#include "boxes.h"
#include "golden.h"
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

// After calculating the default inputs (t = 27 with ψ = 46.37 or ts = 19).
Boxes resultsOfDefaults(InputMode mode)
{
    Boxes b = initialBoxes();
    for (const GoldenBox& result : GoldenResults(mode))
        b[result.box] = QString::fromUtf8(result.text);
    return b;
}

Boxes psiKnownResults() { return resultsOfDefaults(InputMode::PsiKnown); }
Boxes tsKnownResults() { return resultsOfDefaults(InputMode::TsKnown); }

// The record as the notebook must show it, from the text shown for each quantity.
QString expectedRecord(const std::function<QString(Quantity)>& shown)
{
    return QStringLiteral("Nimbara如下：\n（计算时间：2026/03/07)\n\n")
           + QStringLiteral("  大气压力B=") + shown(Quantity::B) + QStringLiteral("Pa\n")
           + QStringLiteral("  干球温度t=") + shown(Quantity::t) + QStringLiteral("℃\n")
           + QStringLiteral("  湿球温度 ts=") + shown(Quantity::ts) + QStringLiteral("℃\n")
           + QStringLiteral("  相对湿度 ψ=") + shown(Quantity::psi) + QStringLiteral("%\n")
           + QStringLiteral("  焓值 h=") + shown(Quantity::h) + QStringLiteral("kJ/kg干\n")
           + QStringLiteral("  含湿量 d=") + shown(Quantity::d) + QStringLiteral("g/kg干\n")
           + QStringLiteral("  密度 ρ=") + shown(Quantity::rho) + QStringLiteral("kg/m3\n")
           + QStringLiteral("  比容 v=") + shown(Quantity::v) + QStringLiteral("m3/kg\n")
           + QStringLiteral("  干球饱和水蒸气分压力 Pqb=") + shown(Quantity::Pqb) + QStringLiteral("Pa\n")
           + QStringLiteral("  湿球饱和水蒸气分压力 Pqbs=") + shown(Quantity::Pqbs) + QStringLiteral("Pa\n")
           + QStringLiteral("  水蒸气分压力 Pq=") + shown(Quantity::Pq) + QStringLiteral("Pa\n")
           + QStringLiteral("  露点温度 tl=") + shown(Quantity::tl) + QStringLiteral("℃\n")
           + QStringLiteral("\n");
}

// What the window shows before any calculation: the typed inputs of the mode
// and the result boxes' own names.
QString shownBeforeCalculating(InputMode mode, Quantity q)
{
    const bool psiKnown = mode == InputMode::PsiKnown;
    switch (q) {
    case Quantity::B: return QStringLiteral("101325");
    case Quantity::t: return QStringLiteral("27");
    case Quantity::ts: return psiKnown ? QStringLiteral("Text6") : QStringLiteral("19");
    case Quantity::psi: return psiKnown ? QStringLiteral("46.37") : QStringLiteral("Text7");
    case Quantity::d: return QStringLiteral("Text8");
    case Quantity::h: return QStringLiteral("Text9");
    case Quantity::rho: return QStringLiteral("Text10");
    case Quantity::v: return QStringLiteral("Text11");
    case Quantity::Pqb: return QStringLiteral("Text12");
    case Quantity::tl: return QStringLiteral("Text13");
    case Quantity::Pqbs: return QStringLiteral("Text14");
    case Quantity::Pq: return QStringLiteral("Text15");
    case Quantity::upsilon: break;  // not in the record
    }
    return QStringLiteral("<not in the record>");
}

QString recordBeforeCalculating(InputMode mode)
{
    return expectedRecord([mode](Quantity q) { return shownBeforeCalculating(mode, q); });
}

QString recordOfDefaults(InputMode mode)
{
    return expectedRecord([mode](Quantity q) { return QString::fromUtf8(GoldenText(mode, q)); });
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
    void eachModeUsesDistinctBoxesTypingExactlyItsFourKnownValues();
    void dateUsesRegionalSeparatorInYearMonthDayOrder_data();
    void dateUsesRegionalSeparatorInYearMonthDayOrder();
};

void RecordTest::composesRecord_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("psi-known before any calculation")
        << int(InputMode::PsiKnown) << initialBoxes() << recordBeforeCalculating(InputMode::PsiKnown);
    QTest::newRow("ts-known before any calculation")
        << int(InputMode::TsKnown) << initialBoxes() << recordBeforeCalculating(InputMode::TsKnown);
    QTest::newRow("psi-known after calculating the defaults")
        << int(InputMode::PsiKnown) << psiKnownResults() << recordOfDefaults(InputMode::PsiKnown);
    QTest::newRow("ts-known after calculating ts = 19")
        << int(InputMode::TsKnown) << tsKnownResults() << recordOfDefaults(InputMode::TsKnown);
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
    QCOMPARE(lines.value(13), QStringLiteral("  水蒸气分压力 Pq=") + boxes.value(15) + QStringLiteral("Pa"));
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

void RecordTest::eachModeUsesDistinctBoxesTypingExactlyItsFourKnownValues()
{
    // Every quantity has a box of its own in each mode, and the mode types
    // into exactly Text1 … Text3 and its humidity box, the golden figures' boxes.
    for (InputMode mode : {InputMode::PsiKnown, InputMode::TsKnown}) {
        QSet<int> boxes, typed;
        for (const QuantityInfo& q : kQuantities) {
            const int box = BoxOf(q.quantity, mode);
            QVERIFY2(!boxes.contains(box), q.name);
            boxes.insert(box);
            QVERIFY(box >= 1 && box <= 15);
            if (!IsResult(q.quantity, mode))
                typed.insert(box);
        }
        const int humidityBox = mode == InputMode::PsiKnown ? 5 : 4;
        QCOMPARE(typed, (QSet<int>{1, 2, 3, humidityBox}));
        QCOMPARE(boxes.size(), 13);  // the other mode's humidity boxes stay hidden
        for (const GoldenBox& result : GoldenResults(mode))
            QCOMPARE(BoxOf(result.quantity, mode), result.box);
    }
}

QTEST_MAIN(RecordTest)
#include "record_test.moc"
