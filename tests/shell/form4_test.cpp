// The About window (`Form4`): its texts and fonts, hover colours, link addresses, focus and closing.

#include <QAccessible>
#include <QApplication>
#include <QColor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

#include "childwindow.h"
#include "controls.h"
#include "form4.h"

namespace {

const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kTeal(0, 128, 128);

QColor textColor(QWidget* label) { return label->palette().color(QPalette::WindowText); }
QColor background(QWidget* picture) { return picture->palette().color(QPalette::Window); }

// Moves the pointer to `point` of the window without a button pressed: the
// move goes to the control under the point, as the window system would send
// it, and from there on through the toolkit's own delivery and propagation.
// Sent directly rather than through the window system so that it behaves the
// same on every platform.
void moveOver(Form4* form, QPoint point)
{
    QWidget* target = form->childAt(point);
    if (!target)
        target = form;
    const QPointF local = target->mapFrom(form, point);
    QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

QPoint pointOf(Form4* form, const char* name, QPoint inside = QPoint(5, 5))
{
    return control<QWidget>(form, name)->mapTo(form, inside);
}

// Puts the application palette back however the test ends.
struct PaletteGuard {
    QPalette saved = QGuiApplication::palette();
    ~PaletteGuard() { QApplication::setPalette(saved); }
};

}  // namespace

class Form4Test : public QObject {
    Q_OBJECT

private slots:
    void texts_fit_their_labels();
    void fonts_resolve_to_installed_faces();
    void hovering_links_and_icon_highlights_until_bare_surface();
    void clicks_hand_exact_addresses_to_opener();
    void command1_and_enter_close_and_stop_timer();
    void reopened_window_starts_from_design_state();
    void focus_moves_picture1_picture2_command1();
    void command1_stays_the_default_button_as_the_focus_moves();
};

// The texts chosen for this window must not be cut off by the design widths,
// and the fonts named must resolve to installed faces, not to a Latin one.
void Form4Test::texts_fit_their_labels()
{
    Form4 form;
    for (const char* name : {"Label3", "Label4", "Label7", "Label1", "Label6", "Label10"}) {
        auto* label = control<QLabel>(&form, name);
        const int advance = QFontMetrics(label->font()).horizontalAdvance(label->text());
        QVERIFY2(advance <= label->width(), name);
    }
}

void Form4Test::fonts_resolve_to_installed_faces()
{
    Form4 form;
    const QString marquee = QFontInfo(control<QLabel>(&form, "Label10")->font()).family();
    QVERIFY2(QStringList({"华文行楷", "STXingkai", "AR PL UKai CN"}).contains(marquee),
             qPrintable(marquee));
    const QString web = QFontInfo(control<QLabel>(&form, "Label1")->font()).family();
    QVERIFY2(QStringList({"宋体", "SimSun", "AR PL UMing CN", "WenQuanYi Micro Hei"}).contains(web),
             qPrintable(web));
    // The links carry the drawn hand (the image must load from the resources).
    for (const char* name : {"Label1", "Label6"})
        QCOMPARE(control<QLabel>(&form, name)->cursor().pixmap().size(), QSize(32, 32));
}

void Form4Test::hovering_links_and_icon_highlights_until_bare_surface()
{
    // State: a desktop whose button text is not black.
    PaletteGuard guard;
    QPalette green = guard.saved;
    green.setColor(QPalette::ButtonText, QColor(0, 100, 0));
    QApplication::setPalette(green);

    Form4 form;
    control<QTimer>(&form, "Timer1")->stop();  // keep Label10 over the strip
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* web = control<QLabel>(&form, "Label1");
    auto* mail = control<QLabel>(&form, "Label6");
    auto* icon = control<QLabel>(&form, "Picture1");
    QCOMPARE(textColor(web), kBlack);
    QCOMPARE(textColor(mail), kBlack);
    QCOMPARE(background(icon), kTeal);

    moveOver(&form, pointOf(&form, "Label1"));
    QCOMPARE(textColor(web), kBlue);
    QCOMPARE(textColor(mail), kBlack);
    QCOMPARE(background(icon), kTeal);

    // Straight from one link onto the other: no leave handling.
    moveOver(&form, pointOf(&form, "Label6"));
    QCOMPARE(textColor(web), kBlue);
    QCOMPARE(textColor(mail), kBlue);

    moveOver(&form, pointOf(&form, "Picture1", QPoint(20, 20)));
    QCOMPARE(background(icon), kRed);
    QCOMPARE(textColor(web), kBlue);

    // None of these restores anything; at first the message covers the strip.
    QCOMPARE(form.childAt(pointOf(&form, "Picture2", QPoint(100, 8))),
             control<QWidget>(&form, "Label10"));
    for (const char* name : {"Picture2", "Command1", "Label3", "Label4", "Label7"}) {
        moveOver(&form, pointOf(&form, name, QPoint(5, 8)));
        QVERIFY2(textColor(web) == kBlue && textColor(mail) == kBlue
                     && background(icon) == kRed,
                 name);
    }
    // The strip itself, once the message has scrolled away.
    form.Timer1_Timer();
    QCOMPARE(form.childAt(pointOf(&form, "Picture2", QPoint(100, 8))),
             control<QWidget>(&form, "Picture2"));
    moveOver(&form, pointOf(&form, "Picture2", QPoint(100, 8)));
    QCOMPARE(textColor(web), kBlue);
    QCOMPARE(background(icon), kRed);

    // Only the bare surface between the controls restores, and it gives the
    // links the desktop's button-text colour, not their design black.
    const QPoint bare(3, 3);
    QVERIFY(!form.childAt(bare));
    moveOver(&form, bare);
    QCOMPARE(background(icon), kTeal);
    QCOMPARE(textColor(web), QColor(0, 100, 0));
    QCOMPARE(textColor(mail), QColor(0, 100, 0));
}

void Form4Test::clicks_hand_exact_addresses_to_opener()
{
    Form4 form;
    control<QTimer>(&form, "Timer1")->stop();
    form.Timer1_Timer();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QStringList opened;
    form.setLinkOpener([&opened](const QString& address) { opened << address; });
    auto* web = control<QLabel>(&form, "Label1");
    auto* mail = control<QLabel>(&form, "Label6");
    auto* icon = control<QLabel>(&form, "Picture1");

    QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseClick(icon, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(10, 8));
    QCOMPARE(opened, QStringList({web->text(), web->text(), "mailto:" + mail->text()}));
    QVERIFY(web->text().startsWith(QStringLiteral("http://")));
    QVERIFY(!mail->text().contains(QLatin1Char(':')));

    // A click changes no colour and leaves the marquee where it was.
    QCOMPARE(textColor(web), kBlack);
    QCOMPARE(textColor(mail), kBlack);
    QCOMPARE(form.scrollX(), 9510.0f);
    QCOMPARE(form.label10LeftTwips(), -5175.0f);

    // A double click (press, release, double-click press, release) opens once.
    opened.clear();
    QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseDClick(web, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseRelease(web, Qt::LeftButton, {}, QPoint(10, 8));
    QCOMPARE(opened.size(), 1);

    // Neither the right button nor a text that is not a link's opens anything.
    opened.clear();
    QTest::mouseClick(web, Qt::RightButton, {}, QPoint(10, 8));
    QTest::mouseClick(control<QWidget>(&form, "Label4"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(control<QWidget>(&form, "Picture2"), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(opened.isEmpty());

    // Each click reads the captions anew, and hands them over as they are.
    web->setText(QStringLiteral(" http://example.org/a b "));
    mail->setText(QStringLiteral("张 工@example.com"));
    QTest::mouseClick(icon, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(5, 8));
    QCOMPARE(opened, QStringList({QStringLiteral(" http://example.org/a b "),
                                  QStringLiteral("mailto:张 工@example.com")}));
}

void Form4Test::command1_and_enter_close_and_stop_timer()
{
    // Each way of pressing the default button destroys the window and its timer.
    const QList<std::function<void(Form4*)>> presses{
        [](Form4* form) { QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton); },
        [](Form4* form) { QTest::keyClick(control<QWidget>(form, "Picture1"), Qt::Key_Return); },
        [](Form4* form) {
            QTest::keyClick(control<QWidget>(form, "Picture2"), Qt::Key_Enter, Qt::KeypadModifier);
        },
        [](Form4* form) { QTest::keyClick(control<QWidget>(form, "Command1"), Qt::Key_Return); },
    };
    for (const auto& press : presses) {
        QPointer<Form4> form = new Form4;
        QPointer<QTimer> timer = control<QTimer>(form, "Timer1");
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        press(form);
        QVERIFY(form.isNull() || !form->isVisible());
        QVERIFY(timer.isNull() || !timer->isActive());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        QVERIFY(timer.isNull());
    }
}

void Form4Test::reopened_window_starts_from_design_state()
{
    QMdiArea area;
    area.resize(400, 300);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    // State: an open window with highlighted links and icon, marquee running.
    QPointer<QMdiSubWindow> sub = AddChildWindow(&area, new Form4, ChildBorder::FixedSingle);
    QVERIFY(sub->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(sub->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QVERIFY(!sub->systemMenu());
    sub->show();
    auto* form = qobject_cast<Form4*>(sub->widget());
    QVERIFY(form);
    moveOver(form, pointOf(form, "Label1"));
    moveOver(form, pointOf(form, "Label6"));
    moveOver(form, pointOf(form, "Picture1", QPoint(20, 20)));
    QCOMPARE(textColor(control<QWidget>(form, "Label1")), kBlue);
    for (int i = 0; i < 40; ++i)
        form->Timer1_Timer();

    // Action: the exit button closes the whole child window.
    QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(sub.isNull());
    QVERIFY(area.subWindowList().isEmpty());

    // Expected: a new window shows the design colours and positions.
    QMdiSubWindow* again = AddChildWindow(&area, new Form4, ChildBorder::FixedSingle);
    again->show();
    auto* fresh = qobject_cast<Form4*>(again->widget());
    QCOMPARE(textColor(control<QWidget>(fresh, "Label1")), kBlack);
    QCOMPARE(textColor(control<QWidget>(fresh, "Label6")), kBlack);
    QCOMPARE(background(control<QWidget>(fresh, "Picture1")), kTeal);
    QCOMPARE(fresh->scrollX(), 0.0f);
    QCOMPARE(control<QLabel>(fresh, "Label10")->x(), -88);
    QVERIFY(control<QTimer>(fresh, "Timer1")->isActive());
}

void Form4Test::focus_moves_picture1_picture2_command1()
{
    Form4 form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* icon = control<QWidget>(&form, "Picture1");
    auto* strip = control<QWidget>(&form, "Picture2");
    auto* button = control<QWidget>(&form, "Command1");
    icon->setFocus();
    QCOMPARE(QApplication::focusWidget(), icon);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), strip);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), icon);
    for (const char* name : {"Label1", "Label3", "Label4", "Label6", "Label7", "Label10"})
        QVERIFY2(control<QWidget>(&form, name)->focusPolicy() == Qt::NoFocus, name);
}

void Form4Test::command1_stays_the_default_button_as_the_focus_moves()
{
    // Drawn and reported as the default, also once the focus has been on it
    // and moved on (a push button outside a dialog drops the state then).
    Form4 form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* button = control<QPushButton>(&form, "Command1");
    const auto reportedDefault = [button] {
        return QAccessible::queryAccessibleInterface(button)->state().defaultButton == 1;
    };
    QVERIFY(button->isDefault());
    QVERIFY(reportedDefault());
    button->setFocus(Qt::TabFocusReason);
    control<QWidget>(&form, "Picture1")->setFocus(Qt::TabFocusReason);
    QVERIFY(button->isDefault());
    QVERIFY(reportedDefault());
}

QTEST_MAIN(Form4Test)
#include "form4_test.moc"
