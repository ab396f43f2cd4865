// The calculation window (`Form1`) driven as a user drives it: its controls, modes, focus and keys.

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "form1driver.h"
#include "glyphcontrast.h"

class Form1Test : public QObject, protected Form1Driver {
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void opens_in_psi_known_mode_with_every_initial_text();
    void controls_have_names_kinds_places_and_focus_order();
    void option2_click_shows_ts_input_and_psi_result();
    void arrow_key_and_tab_focus_select_an_option();
    void arrow_keys_move_through_the_options_and_wrap_data();
    void arrow_keys_move_through_the_options_and_wrap();
    void calculate_is_the_default_button_unless_another_button_has_focus();
    void superscripts_render_at_full_contrast();
    void typed_texts_survive_mode_switches();
    void enter_in_text_box_or_option_presses_calculate();
    void enter_on_a_button_presses_that_button();
    void exit_button_closes_the_window();
};

void Form1Test::opens_in_psi_known_mode_with_every_initial_text()
{
    // State: a fresh window, shown. Expected: Option1 took the focus and the mode.
    QCOMPARE(m_form->windowTitle(),
             QStringLiteral("Nimbara") + QString(16, QLatin1Char(' ')) + QStringLiteral("版权所有（C）Nimbara 开发组 张工"));
    QCOMPARE(QApplication::focusWidget(), control("Option1"));
    verifyMode(true);
    QCOMPARE(allTexts(), kInitialTexts);
    QCOMPARE(static_cast<QLabel*>(control("Label6"))->text(), QStringLiteral("湿球温度ts="));
    QVERIFY(!m_form->statePoint().has_value());
}

void Form1Test::controls_have_names_kinds_places_and_focus_order()
{
    QCOMPARE(m_form->findChildren<QGroupBox*>().size(), 3);
    QCOMPARE(m_form->findChildren<QRadioButton*>().size(), 2);
    QCOMPARE(m_form->findChildren<QLineEdit*>().size(), 15);
    QCOMPARE(m_form->findChildren<QPushButton*>().size(), 3);
    QCOMPARE(m_form->findChildren<QLabel*>().size(), 32);

    // Captions character for character, leading and inner spaces included.
    QCOMPARE(static_cast<QLabel*>(control("Label8"))->text(), QStringLiteral(" 含湿量  d="));
    QCOMPARE(static_cast<QLabel*>(control("Label27"))->text(), QStringLiteral("m  /kg "));
    QCOMPARE(static_cast<QRadioButton*>(control("Option2"))->text(), QStringLiteral("1、已知t、υ和湿球温度ts。"));
    QCOMPARE(static_cast<QPushButton*>(control("Command1"))->text(), QStringLiteral("计 算"));
    QCOMPARE(static_cast<QGroupBox*>(control("Frame3"))->title(), QStringLiteral("输出待求参数"));

    // Twips to pixels at the logical dpi, relative to the container.
    if (m_form->logicalDpiX() == 96) {
        QCOMPARE(m_form->size(), QSize(418, 338));
        QCOMPARE(control("Text14")->geometry(), QRect(264, 88, 65, 18));
        QCOMPARE(control("Text14")->parentWidget(), control("Frame3"));
        QCOMPARE(control("Label26")->geometry(), QRect(176, 64, 9, 9));
    }
    QCOMPARE(control("Label26")->font().pointSizeF(), 5.25);
    QCOMPARE(control("Label28")->font().pointSizeF(), 5.25);
    QVERIFY(static_cast<QLabel*>(control("Label12"))->wordWrap());

    // Tab walks Option1, Text1 … Text5 (Text4 skipped while hidden), Text6 …, buttons.
    const QStringList expected = {"Option1", "Text1", "Text2", "Text3", "Text5", "Text6",
                                  "Text8", "Text9", "Text10", "Text11", "Text12", "Text13",
                                  "Text14", "Text15", "Command1", "Command2", "Command3"};
    QStringList walked;
    for (int i = 0; i < expected.size(); ++i) {
        walked << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walked, expected);
}

void Form1Test::option2_click_shows_ts_input_and_psi_result()
{
    click("Option2");
    verifyMode(false);
    QCOMPARE(text(4)->text(), QStringLiteral("19"));
    QCOMPARE(text(7)->text(), QStringLiteral("Text7"));
    click("Option1");
    verifyMode(true);
    // Applying the mode in force changes nothing.
    click("Option1");
    verifyMode(true);
    QCOMPARE(allTexts(), kInitialTexts);
}

void Form1Test::arrow_key_and_tab_focus_select_an_option()
{
    QTest::keyClick(control("Option1"), Qt::Key_Right);
    verifyMode(false);
    QTest::keyClick(control("Option2"), Qt::Key_Left);
    verifyMode(true);
    // A focus that arrives other than by the mouse selects the option.
    control("Option2")->setFocus(Qt::BacktabFocusReason);
    verifyMode(false);
    QVERIFY(m_watch->seen().isEmpty());
}

void Form1Test::arrow_keys_move_through_the_options_and_wrap_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Up") << int(Qt::Key_Up);
    QTest::newRow("Right") << int(Qt::Key_Right);
    QTest::newRow("Left") << int(Qt::Key_Left);
}

void Form1Test::arrow_keys_move_through_the_options_and_wrap()
{
    // State: the window as it opens, Option1 focused and selected. Action: the
    // same arrow three times. Expected: the focus and the selection go round
    // the two options, each step running the new option's click action once.
    QFETCH(int, key);
    QSignalSpy clicks1(static_cast<QRadioButton*>(control("Option1")), &QAbstractButton::clicked);
    QSignalSpy clicks2(static_cast<QRadioButton*>(control("Option2")), &QAbstractButton::clicked);
    for (int step = 1; step <= 3; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        const bool onOption2 = step % 2 == 1;
        QCOMPARE(QApplication::focusWidget(), control(onOption2 ? "Option2" : "Option1"));
        verifyMode(!onOption2);
        QCOMPARE(clicks2.size(), (step + 1) / 2);
        QCOMPARE(clicks1.size(), step / 2);
    }
    QVERIFY(m_watch->seen().isEmpty());
}

void Form1Test::calculate_is_the_default_button_unless_another_button_has_focus()
{
    auto* command1 = static_cast<QPushButton*>(control("Command1"));
    auto* command2 = static_cast<QPushButton*>(control("Command2"));
    const auto reportedDefault = [](QWidget* button) {
        return QAccessible::queryAccessibleInterface(button)->state().defaultButton == 1;
    };
    QVERIFY(command1->isDefault());
    QVERIFY(reportedDefault(command1));
    QVERIFY(!reportedDefault(command2) && !reportedDefault(control("Command3")));

    // Another button with the focus shows the frame itself, as Enter presses it.
    command2->setFocus(Qt::TabFocusReason);
    QVERIFY(command2->isDefault());
    QVERIFY(!command1->isDefault());
    QVERIFY(!reportedDefault(command1));

    // Back in a box, and after Command1 itself had the focus, it is the default again.
    text(3)->setFocus(Qt::MouseFocusReason);
    QVERIFY(command1->isDefault());
    QVERIFY(!command2->isDefault());
    command1->setFocus(Qt::TabFocusReason);
    text(1)->setFocus(Qt::BacktabFocusReason);
    QVERIFY(command1->isDefault());
    QVERIFY(reportedDefault(command1));

    // The keys still do what they did: Enter in a box calculates.
    QTest::keyClick(text(1), Qt::Key_Return);
    QCOMPARE(text(6)->text(), golden(Quantity::ts));
}

void Form1Test::superscripts_render_at_full_contrast()
{
    // The "3" of kg/m³ and m³/kg at 5.25 pt: its strokes reach black rather
    // than the grey of a smoothed glyph this small.
    for (const char* name : {"Label26", "Label28"}) {
        const int darkest = qGray(darkestPixel(control(name)->grab().toImage()));
        QVERIFY2(darkest <= 40, qPrintable(QStringLiteral("%1: darkest grey %2").arg(name).arg(darkest)));
    }
}

void Form1Test::typed_texts_survive_mode_switches()
{
    setInput(5, QStringLiteral("55.5"));
    click("Option2");
    setInput(4, QStringLiteral("20"));
    click("Option1");
    QCOMPARE(text(5)->text(), QStringLiteral("55.5"));
    click("Command1");
    const QStringList afterCalc = allTexts();
    click("Option2");
    QCOMPARE(allTexts(), afterCalc);
    QCOMPARE(text(4)->text(), QStringLiteral("20"));
    click("Option1");
    QCOMPARE(allTexts(), afterCalc);
    QVERIFY(m_watch->seen().isEmpty());
}

void Form1Test::enter_in_text_box_or_option_presses_calculate()
{
    QTest::mouseClick(text(3), Qt::LeftButton);
    QTest::keyClick(text(3), Qt::Key_Return);
    QCOMPARE(text(6)->text(), golden(Quantity::ts));

    text(8)->setText(QStringLiteral("typed over"));
    QTest::keyClick(control("Option1"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(text(8)->text(), golden(Quantity::d));
    QVERIFY(m_watch->seen().isEmpty());
}

void Form1Test::enter_on_a_button_presses_that_button()
{
    // Enter on the record button does not calculate.
    control("Command2")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(control("Command2"), Qt::Key_Return);
    QCOMPARE(text(6)->text(), QStringLiteral("Text6"));
    QVERIFY(m_form->isVisible());
    control("Command3")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(control("Command3"), Qt::Key_Return);
    QVERIFY(!m_form->isVisible());
}

void Form1Test::exit_button_closes_the_window()
{
    click("Command3");
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_watch->seen().isEmpty());
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
