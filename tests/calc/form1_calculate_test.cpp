// The calculation window's calculate button: the results of the default inputs, and every message.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <utility>

#include "form1driver.h"

namespace {

// Snapshots chosen boxes at the moment a message box comes up.
class BoxSnapshot : public QObject {
public:
    BoxSnapshot(Form1* form, QList<int> boxes) : m_form(form), m_boxes(std::move(boxes))
    {
        qApp->installEventFilter(this);
    }
    ~BoxSnapshot() override { qApp->removeEventFilter(this); }

    QStringList texts;  // empty until a message box showed

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched) && texts.isEmpty())
            for (int box : m_boxes)
                texts << m_form->boxText(box);
        return false;
    }

private:
    Form1* m_form;
    QList<int> m_boxes;
};

}  // namespace

class Form1CalculateTest : public QObject, protected Form1Driver {
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void default_inputs_psi_known_give_every_result();
    void default_inputs_ts_known_give_every_result();
    void dew_point_message_comes_after_all_boxes_are_written();
    void incomplete_input_changes_nothing();
    void engine_failure_is_shown_and_changes_nothing();
};

void Form1CalculateTest::default_inputs_psi_known_give_every_result()
{
    click("Command1");
    QVERIFY(m_watch->seen().isEmpty());
    QCOMPARE(allTexts(), textsAfterDefaults(InputMode::PsiKnown));
    QVERIFY(m_form->statePoint().has_value());
    QCOMPARE(m_form->statePoint()->B, 101325.0);
    QVERIFY(qAbs(m_form->statePoint()->psi - 0.4637) < 1e-12);
}

void Form1CalculateTest::default_inputs_ts_known_give_every_result()
{
    click("Option2");
    click("Command1");
    QVERIFY(m_watch->seen().isEmpty());
    QCOMPARE(allTexts(), textsAfterDefaults(InputMode::TsKnown));
    QCOMPARE(m_form->statePoint()->ts, 19.0);
}

void Form1CalculateTest::dew_point_message_comes_after_all_boxes_are_written()
{
    click("Option2");
    setInput(4, QStringLiteral("12"));
    BoxSnapshot snapshot(m_form.get(), {8, 13, 15});
    click("Command1");

    QCOMPARE(m_watch->seen().size(), 1);
    const ModalWatch::Seen box = m_watch->seen().first();
    QCOMPARE(box.title, kInfoTitle);
    QCOMPARE(box.text, kDewPointText);
    QVERIFY(!box.hasIcon);
    // At the moment the box is up, the results are already in place.
    QCOMPARE(snapshot.texts.value(0), QStringLiteral("2.52"));
    QCOMPARE(snapshot.texts.value(1), QString());
    QVERIFY(snapshot.texts.value(2) != QStringLiteral("Text15"));
    QVERIFY(m_form->statePoint().has_value());
    QVERIFY(m_form->statePoint()->tl < 0);
}

void Form1CalculateTest::incomplete_input_changes_nothing()
{
    click("Command1");
    const QStringList before = allTexts();
    const StatePoint kept = *m_form->statePoint();

    text(3)->clear();
    setInput(1, QStringLiteral("90000"));
    click("Command1");
    QCOMPARE(m_watch->seen().size(), 1);
    QCOMPARE(m_watch->seen().first().title, kIncompleteTitle);
    QCOMPARE(m_watch->seen().first().text, kIncompleteText);
    QVERIFY(!m_watch->seen().first().hasIcon);
    QVERIFY(m_watch->seen().first().buttons == QLatin1String("OK")
            || m_watch->seen().first().buttons == QStringLiteral("确定"));
    QStringList expected = before;
    expected[0] = QStringLiteral("90000");
    expected[2] = QString();
    QCOMPARE(allTexts(), expected);
    QCOMPARE(m_form->statePoint()->B, kept.B);
    QCOMPARE(m_form->statePoint()->ts, kept.ts);

    // ts-known mode needs Text2 although its value enters no result.
    m_watch->clear();
    setInput(3, QStringLiteral("27"));
    text(2)->clear();
    click("Option2");
    click("Command1");
    QCOMPARE(m_watch->seen().size(), 1);
    QCOMPARE(m_watch->seen().first().title, kIncompleteTitle);
    QCOMPARE(text(7)->text(), QStringLiteral("Text7"));
}

void Form1CalculateTest::engine_failure_is_shown_and_changes_nothing()
{
    setInput(5, QStringLiteral("100"));
    click("Command1");
    QCOMPARE(m_watch->seen().size(), 1);
    const ModalWatch::Seen box = m_watch->seen().first();
    QCOMPARE(box.title, kInfoTitle);
    QVERIFY(!box.text.isEmpty());
    QVERIFY(box.text != kDewPointText);
    QVERIFY(!box.hasIcon);
    QVERIFY(box.buttons == QLatin1String("OK") || box.buttons == QStringLiteral("确定"));
    QStringList expected = kInitialTexts;
    expected[4] = QStringLiteral("100");
    QCOMPARE(allTexts(), expected);
    QVERIFY(!m_form->statePoint().has_value());

    // A wet bulb warmer than the air, in the ts-known mode.
    m_watch->clear();
    click("Option2");
    setInput(4, QStringLiteral("30"));
    click("Command1");
    QCOMPARE(m_watch->seen().size(), 1);
    QCOMPARE(m_watch->seen().first().title, kInfoTitle);
    QCOMPARE(m_watch->seen().first().text, QStringLiteral("湿球温度ts不能高于干球温度t，请检查输入！"));
    expected[3] = QStringLiteral("30");
    QCOMPARE(allTexts(), expected);
    QVERIFY(!m_form->statePoint().has_value());
}

QTEST_MAIN(Form1CalculateTest)
#include "form1_calculate_test.moc"
