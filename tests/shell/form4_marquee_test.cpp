// The About window's marquee (`Form4`): its steps, its pass length, the timer, and how it renders.
//
// The marquee is stepped by calling its tick directly, with the real timer
// stopped, so that every position is known; two tests let the real timer run.

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

#include "childwindow.h"
#include "controls.h"
#include "form4.h"
#include "glyphcontrast.h"

namespace {

// A Form4 whose own timer is stopped, so the test alone steps the marquee.
Form4* steppedForm()
{
    auto* form = new Form4;
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    control<QTimer>(form, "Timer1")->stop();
    return form;
}

// Ticks until ScrollX is reset (it grows instead of shrinking); returns the
// number of ticks taken, the resetting tick included.
int ticksUntilReset(Form4* form)
{
    for (int ticks = 1; ticks <= 100000; ++ticks) {
        const float before = form->scrollX();
        form->Timer1_Timer();
        if (form->scrollX() > before)
            return ticks;
    }
    return -1;
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

int redPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isRed(image.pixel(x, y)) ? 1 : 0;
    return count;
}

}  // namespace

class Form4MarqueeTest : public QObject {
    Q_OBJECT

private slots:
    void first_ticks_place_the_message_out_of_sight_then_at_the_right_edge();
    void pass_length_follows_widths_read_at_each_tick_data();
    void pass_length_follows_widths_read_at_each_tick();
    void real_timer_moves_the_message();
    void closed_window_ticks_no_more();
    void renders_red_marquee_clipped_at_right_edge();
    void marquee_renders_in_full_red();
};

void Form4MarqueeTest::first_ticks_place_the_message_out_of_sight_then_at_the_right_edge()
{
    // State: a new window, before any tick, Label10 at its design Left.
    std::unique_ptr<Form4> form(steppedForm());
    auto* marquee = control<QLabel>(form.get(), "Label10");
    QCOMPARE(form->scrollX(), 0.0f);
    QCOMPARE(form->label10LeftTwips(), -1320.0f);
    QCOMPARE(marquee->x(), -88);

    // First tick: ScrollX 0, so Left = -5175; ScrollX -20 resets at once.
    form->Timer1_Timer();
    QCOMPARE(form->label10LeftTwips(), -5175.0f);
    QCOMPARE(marquee->x(), -345);
    QCOMPARE(form->scrollX(), 9510.0f);

    // Second tick: the message's left edge on the strip's right edge.
    form->Timer1_Timer();
    QCOMPARE(form->label10LeftTwips(), 4335.0f);
    QCOMPARE(marquee->x(), 289);
    QCOMPARE(form->scrollX(), 9490.0f);
}

void Form4MarqueeTest::pass_length_follows_widths_read_at_each_tick_data()
{
    QTest::addColumn<int>("labelPixels");
    QTest::addColumn<int>("stripPixels");
    QTest::addColumn<float>("resetTwips");
    QTest::addColumn<int>("passTicks");
    QTest::newRow("design widths") << 345 << 289 << 9510.0f << 476;
    // ScrollX steps onto exactly 0, which resets on that same tick.
    QTest::newRow("sum a multiple of 20") << 200 << 100 << 4500.0f << 225;
    QTest::newRow("narrow") << 10 << 5 << 225.0f << 12;
    QTest::newRow("wide label, no strip") << 400 << 0 << 6000.0f << 300;
}

void Form4MarqueeTest::pass_length_follows_widths_read_at_each_tick()
{
    QFETCH(int, labelPixels);
    QFETCH(int, stripPixels);
    QFETCH(float, resetTwips);
    QFETCH(int, passTicks);

    // State: one tick with the design widths (reset to 9510), then the
    // widths change while the window runs.
    std::unique_ptr<Form4> form(steppedForm());
    form->Timer1_Timer();
    QCOMPARE(form->scrollX(), 9510.0f);
    control<QLabel>(form.get(), "Label10")->resize(labelPixels, 17);
    control<QFrame>(form.get(), "Picture2")->resize(stripPixels, 17);

    // The pass under way ends with a reset to the new sum ...
    QVERIFY(ticksUntilReset(form.get()) > 0);
    QCOMPARE(form->scrollX(), resetTwips);
    // ... the message re-enters on the strip's right edge ...
    form->Timer1_Timer();
    QCOMPARE(form->label10LeftTwips(), float(stripPixels * 15));
    // ... and a whole pass lasts as many ticks as the new widths give.
    QCOMPARE(ticksUntilReset(form.get()) + 1, passTicks);
}

void Form4MarqueeTest::real_timer_moves_the_message()
{
    Form4 form;
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* timer = control<QTimer>(&form, "Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 30);
    form.show();
    QTRY_VERIFY_WITH_TIMEOUT(form.scrollX() != 0.0f, 1000);
    const float seen = form.scrollX();
    // The tick runs before the spy hears of it: it was connected first.
    QSignalSpy ticks(timer, &QTimer::timeout);
    QVERIFY(ticks.wait(1000));
    QVERIFY(form.scrollX() < seen);
    QVERIFY(control<QLabel>(&form, "Label10")->x() != -88);
}

void Form4MarqueeTest::closed_window_ticks_no_more()
{
    // Even a window kept after closing (not deleted) must not go on ticking.
    Form4 form;
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.show();
    QTRY_VERIFY_WITH_TIMEOUT(form.scrollX() != 0.0f, 1000);
    form.close();
    QVERIFY(!control<QTimer>(&form, "Timer1")->isActive());
    const float scroll = form.scrollX();
    const int x = control<QLabel>(&form, "Label10")->x();
    // A timer of the same interval started now: by its third tick the
    // window's own would have ticked had it still been running.
    QTimer probe;
    QSignalSpy probeTicks(&probe, &QTimer::timeout);
    probe.start(30);
    QTRY_VERIFY_WITH_TIMEOUT(probeTicks.size() >= 3, 1000);
    QCOMPARE(form.scrollX(), scroll);
    QCOMPARE(control<QLabel>(&form, "Label10")->x(), x);
}

// Renders the window inside a main-window area; with NIMBARA_ABOUT_SCREENSHOT
// set to a file name, also saves the picture there.
void Form4MarqueeTest::renders_red_marquee_clipped_at_right_edge()
{
    QMdiArea area;
    area.resize(250, 210);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QMdiSubWindow* sub = AddChildWindow(&area, new Form4, ChildBorder::FixedSingle);
    sub->move(12, 12);
    sub->show();
    auto* form = qobject_cast<Form4*>(sub->widget());
    control<QTimer>(form, "Timer1")->stop();
    // The first tick resets, the second places the message at Left 4335,
    // 202 more bring it to Left 295.
    for (int i = 0; i < 204; ++i)
        form->Timer1_Timer();
    QCOMPARE(form->label10LeftTwips(), 295.0f);

    const QImage image = form->grab().toImage();
    QCOMPARE(image.size(), QSize(209, 151));
    const int stripTop = control<QWidget>(form, "Picture2")->y();
    QVERIFY(redPixels(image, QRect(20, stripTop, 189, 17)) > 100);  // the message
    QCOMPARE(redPixels(image, QRect(0, stripTop, 19, 17)), 0);      // not yet there
    // Nothing else is red (the icon's own colours aside).
    QCOMPARE(redPixels(image, QRect(0, 0, 150, stripTop)), 0);
    // The message runs on past the window's right edge (clipped there).
    QVERIFY(redPixels(image, QRect(200, stripTop, 9, 17)) > 0);

    const QByteArray target = qgetenv("NIMBARA_ABOUT_SCREENSHOT");
    if (!target.isEmpty())
        QVERIFY(area.grab().save(QString::fromLocal8Bit(target)));
}

void Form4MarqueeTest::marquee_renders_in_full_red()
{
    // The calligraphic strokes are a pixel thin: smoothed, most of their
    // pixels were pink. Nearly all of the message's red pixels are full red.
    Form4 form;
    control<QTimer>(&form, "Timer1")->stop();
    auto* message = control<QLabel>(&form, "Label10");
    message->move(0, 0);
    const RedShare share = redShare(message->grab().toImage());
    QVERIFY(share.reddish > 200);
    QVERIFY2(share.fullRed * 10 >= share.reddish * 9,
             qPrintable(QStringLiteral("%1 of %2 full red").arg(share.fullRed).arg(share.reddish)));
}

QTEST_MAIN(Form4MarqueeTest)
#include "form4_marquee_test.moc"
