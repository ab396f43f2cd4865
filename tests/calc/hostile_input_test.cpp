// The calculation window under hostile input: whatever the boxes hold, "计 算" stays safe.
//
// Whatever an engineer types or pastes into the input boxes, pressing "计 算"
// must come back, within the wet-bulb search's bounded steps, with either a
// complete, well-formed set of results or exactly one message; and a message
// other than the dew-point one leaves every box and the kept state point as
// they were.

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "calculate.h"
#include "form1.h"
#include "modalwatch.h"
#include "wetbulb.h"

namespace {

const QString kReminderTitle = QStringLiteral("提醒");
const QString kIncompleteText = QStringLiteral("请把已知参数输入完整");
const QString kInfoTitle = QStringLiteral("计算信息");
const QString kDewPointText = QStringLiteral("对不起，目前还无法用公式计算此时的露点温度tl！");

// A press still running after this long is a hang, far beyond any search of
// at most kMaxSearchSteps steps even in a sanitizer build on a busy machine:
// the test program stops with the case named instead of waiting for the
// runner's time-out.
constexpr int kHangSeconds = 20;

// How a text reaches the box: typed key by key, pasted in one piece (for
// characters that no key press delivers: controls, format marks, surrogate
// pairs), or set outright (too long to type).
enum class Entry { Typed, Pasted, Set };

struct Hostile {
    const char* name;
    QString text;
    Entry entry;
};

QList<Hostile> hostileTexts()
{
    return {
        {"empty", QString(), Entry::Typed},
        {"blanks", QStringLiteral("   "), Entry::Typed},
        {"blanks and tab", QStringLiteral(" \t "), Entry::Pasted},
        {"1e999", QStringLiteral("1e999"), Entry::Typed},
        {"-1e999", QStringLiteral("-1e999"), Entry::Typed},
        {"1e308", QStringLiteral("1e308"), Entry::Typed},
        {"-1e308", QStringLiteral("-1e308"), Entry::Typed},
        {"1e-320", QStringLiteral("1e-320"), Entry::Typed},
        {"-273.15", QStringLiteral("-273.15"), Entry::Typed},
        {"-200", QStringLiteral("-200"), Entry::Typed},
        {"nan", QStringLiteral("nan"), Entry::Typed},
        {"inf", QStringLiteral("inf"), Entry::Typed},
        {"-inf", QStringLiteral("-inf"), Entry::Typed},
        {"0x10", QStringLiteral("0x10"), Entry::Typed},
        {"fullwidth digits", QStringLiteral("１２"), Entry::Typed},
        {"10000 digits", QString(10000, u'9'), Entry::Set},
        {"10000 digits after a point", QStringLiteral("0.") + QString(9998, u'1'), Entry::Set},
        {"degree sign", QStringLiteral("27℃"), Entry::Typed},
        {"decimal comma", QStringLiteral("46,37"), Entry::Typed},
        {"control characters", QStringLiteral("\x01" "2\x07" "7\x1b\x7f"), Entry::Pasted},
        {"line feed", QStringLiteral("2\n7"), Entry::Pasted},
        {"right-to-left marks", QStringLiteral("\u200f27\u202e.5\u200e"), Entry::Pasted},
        {"emoji", QStringLiteral("😀27🌡"), Entry::Pasted},
        {"lone surrogate", QString(QChar(0xd83d)) + QStringLiteral("27"), Entry::Pasted},
    };
}

bool samePoint(const std::optional<StatePoint>& a, const std::optional<StatePoint>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    // Bit for bit: "unchanged" means not even a rounding moved.
    return !a || std::memcmp(&*a, &*b, sizeof(StatePoint)) == 0;
}

// Stops the program when a guarded stretch runs longer than kHangSeconds.
class HangGuard {
public:
    explicit HangGuard(QByteArray what) : m_what(std::move(what))
    {
        m_thread = std::thread([this] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::seconds(kHangSeconds), [this] { return m_finished; })) {
                std::fprintf(stderr, "FAIL: pressing 计 算 hangs with %s\n", m_what.constData());
                std::fflush(stderr);
                std::abort();
            }
        });
    }
    ~HangGuard()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

private:
    QByteArray m_what;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT
private slots:
    void pressingCalculateIsSafe_data();
    void pressingCalculateIsSafe();

private:
    void enter(QLineEdit* box, const Hostile& hostile);
};

void HostileInputTest::pressingCalculateIsSafe_data()
{
    QTest::addColumn<bool>("psiKnown");
    QTest::addColumn<QList<int>>("boxes");
    QTest::addColumn<int>("index");  // into hostileTexts()

    const QList<Hostile> texts = hostileTexts();
    for (const bool psiKnown : {true, false}) {
        const int humidityBox = psiKnown ? 5 : 4;
        const char* mode = psiKnown ? "psi-known" : "ts-known";
        QList<QList<int>> targets;
        for (int n : {1, 2, 3, humidityBox})
            targets << QList<int>{n};
        targets << QList<int>{1, 2, 3, humidityBox};
        for (const QList<int>& boxes : targets) {
            const QString where = boxes.size() == 1 ? QStringLiteral("Text%1").arg(boxes.first())
                                                    : QStringLiteral("every input");
            for (int i = 0; i < texts.size(); ++i) {
                QTest::addRow("%s, %s, %s", mode, qPrintable(where), texts[i].name)
                    << psiKnown << boxes << i;
            }
        }
    }
}

void HostileInputTest::enter(QLineEdit* box, const Hostile& hostile)
{
    box->clear();
    switch (hostile.entry) {
    case Entry::Typed:
        // keyClicks takes Latin-1 only; other characters come as key presses
        // carrying their text, as a keyboard layout delivers them.
        for (const QChar c : hostile.text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(box, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        break;
    case Entry::Pasted:
        box->insert(hostile.text);
        break;
    case Entry::Set:
        box->setText(hostile.text);
        break;
    }
}

void HostileInputTest::pressingCalculateIsSafe()
{
    QFETCH(bool, psiKnown);
    QFETCH(QList<int>, boxes);
    QFETCH(int, index);
    const Hostile hostile = hostileTexts().at(index);

    ModalWatch watch;
    auto form = std::make_unique<Form1>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (!psiKnown)
        QTest::mouseClick(form->control(QStringLiteral("Option2")), Qt::LeftButton);
    QCOMPARE(form->isOption1Selected(), psiKnown);
    auto* calculate = qobject_cast<QPushButton*>(form->control(QStringLiteral("Command1")));
    QVERIFY(calculate);

    // A state point from the defaults first, so that "nothing changed" has
    // something to keep.
    calculate->click();
    QVERIFY(watch.seen().isEmpty());
    QVERIFY(form->statePoint().has_value());

    for (int n : boxes) {
        enter(form->box(n), hostile);
        // What a line edit may drop (a line feed) is not what this test is
        // about; what matters is that the box holds something hostile.
        if (hostile.entry != Entry::Pasted || !hostile.text.contains(u'\n'))
            QCOMPARE(form->boxText(n), hostile.text);
    }

    QStringList before;
    for (int n = 1; n <= 15; ++n)
        before << form->boxText(n);
    const std::optional<StatePoint> pointBefore = form->statePoint();

    // The work a press does is the engine's calculation of these very texts:
    // its wet-bulb search must stay within its bound of steps.
    CalcInputs inputs;
    inputs.B = before[0].toStdString();
    inputs.upsilon = before[1].toStdString();
    inputs.t = before[2].toStdString();
    inputs.ts = before[3].toStdString();
    inputs.psi = before[4].toStdString();
    const CalcOutcome outcome =
        CalculateStatePoint(psiKnown ? InputMode::PsiKnown : InputMode::TsKnown, inputs);
    QVERIFY2(outcome.searchSteps <= kMaxSearchSteps,
             qPrintable(QStringLiteral("%1 search steps").arg(outcome.searchSteps)));

    {
        HangGuard guard(QTest::currentDataTag());
        QTest::mouseClick(calculate, Qt::LeftButton);
    }

    QStringList after;
    for (int n = 1; n <= 15; ++n)
        after << form->boxText(n);
    const QList<ModalWatch::Seen> seen = watch.seen();
    QVERIFY2(seen.size() <= 1, qPrintable(QStringLiteral("%1 message boxes").arg(seen.size())));

    // The inputs are never rewritten.
    QCOMPARE(after.mid(0, 5), before.mid(0, 5));

    if (hostile.text.isEmpty()) {
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().title, kReminderTitle);
        QCOMPARE(seen.first().text, kIncompleteText);
    }

    const bool dewPoint = seen.size() == 1 && seen.first().text == kDewPointText;
    if (seen.size() == 1 && !dewPoint) {
        const ModalWatch::Seen& box = seen.first();
        QVERIFY2(box.title == kInfoTitle || (box.title == kReminderTitle && box.text == kIncompleteText),
                 qPrintable(box.title + QStringLiteral(": ") + box.text));
        QVERIFY(!box.text.isEmpty());
        QCOMPARE(after, before);
        QVERIFY(samePoint(form->statePoint(), pointBefore));
        return;
    }

    // Results: every box in its display pattern.
    if (dewPoint)
        QCOMPARE(seen.first().title, kInfoTitle);
    const QRegularExpression two(QStringLiteral("^-?[0-9]+\\.[0-9]{2}$"));
    const QRegularExpression three(QStringLiteral("^-?[0-9]+\\.[0-9]{3}$"));
    const QRegularExpression five(QStringLiteral("^-?[0-9]+\\.[0-9]{5}$"));
    const QRegularExpression plain(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    const auto expect = [&](int n, const QRegularExpression& pattern) {
        const QString text = form->boxText(n);
        QVERIFY2(pattern.match(text).hasMatch(), qPrintable(QStringLiteral("Text%1 = \"%2\"").arg(n).arg(text)));
    };
    if (psiKnown) {
        expect(6, two);
        QCOMPARE(form->boxText(7), before[6]);  // the other mode's result stays
    } else {
        // A dry bulb far below the wet bulb gives ψ of the order of 1e57 %,
        // which the shortest form writes with an exponent.
        QEXPECT_FAIL("ts-known, Text3, -200", "ψ from t far below ts is shown in exponent form", Continue);
        expect(7, plain);
        QCOMPARE(form->boxText(6), before[5]);
    }
    for (int n : {8, 12, 14})
        expect(n, two);
    expect(10, three);
    for (int n : {9, 11, 15})
        expect(n, five);
    if (dewPoint)
        QCOMPARE(form->boxText(13), QString());
    else
        expect(13, two);
    QVERIFY(form->statePoint().has_value());
}

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
