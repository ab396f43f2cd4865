// The child-window frames: fixed borders, first clicks on title-bar buttons, the tool window's close box.
//
// The frames of the child windows in the main window's workspace: the pointer
// on the borders of a fixed window, a click on a title-bar button that comes
// with no move before it, and the tool window's close box. Mouse events are
// sent straight to the frame, so no move comes along that the test did not send.

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleOptionTitleBar>
#include <QTest>

#include <memory>

#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "mainwindow.h"
#include "modalwatch.h"

namespace {

void send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void moveTo(QWidget* frame, QPoint at)
{
    send(frame, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

void pressAndRelease(QWidget* frame, QPoint at)
{
    send(frame, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    send(frame, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// Where the style puts a title-bar control of the frame, as the frame itself
// asks for it (this style draws the title bar without an extra border).
QRect titleBarControl(QMdiSubWindow* frame, QStyle::SubControl control)
{
    QStyleOptionTitleBar option;
    option.initFrom(frame);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = frame->windowFlags();
    option.titleBarState = frame->windowState() | QStyle::State_Active;
    option.text = frame->windowTitle();
    const int height = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame);
    option.rect = QRect(0, 0, frame->width(), height);
    return frame->style()->subControlRect(QStyle::CC_TitleBar, &option, control, frame);
}

// Points on the frame's edges and corners, in the frame's coordinates.
QList<QPoint> borderPoints(const QWidget* frame)
{
    const int w = frame->width();
    const int h = frame->height();
    return {{1, h / 2}, {w - 2, h / 2}, {w / 2, h - 2}, {w - 2, h - 2}, {1, h - 2}, {1, 1}, {w / 2, 1}};
}

}  // namespace

class ChildFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fixed_windows_show_the_arrow_on_their_borders_data();
    void fixed_windows_show_the_arrow_on_their_borders();
    void the_notebook_still_shows_resize_cursors();
    void first_click_on_the_close_box_closes_data();
    void first_click_on_the_close_box_closes();
    void first_click_on_minimise_from_the_border_minimises();
    void tool_window_close_box_is_drawn_as_a_cross();

private:
    QMdiSubWindow* open(const QString& command)
    {
        if (command == QLatin1String("notebook"))
            m_window->showNotebook();
        else
            m_window->findChild<QAction*>(command)->trigger();
        QMdiSubWindow* frame = m_window->mdiArea()->activeSubWindow();
        frame->move(20, 20);
        return frame;
    }

    std::unique_ptr<ModalWatch> m_watch;
    std::unique_ptr<fMainform> m_window;
};

void ChildFrameTest::init()
{
    m_watch = std::make_unique<ModalWatch>();
    m_window = std::make_unique<fMainform>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void ChildFrameTest::cleanup()
{
    QVERIFY(m_watch->seen().isEmpty());
    m_window.reset();
    m_watch.reset();
}

void ChildFrameTest::fixed_windows_show_the_arrow_on_their_borders_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("calculation window") << QStringLiteral("computerotherparameter");
    QTest::newRow("help window") << QStringLiteral("help");
    QTest::newRow("About window") << QStringLiteral("about");
}

void ChildFrameTest::fixed_windows_show_the_arrow_on_their_borders()
{
    QFETCH(QString, command);
    QMdiSubWindow* frame = open(command);
    const QSize size = frame->size();
    for (const QPoint& at : borderPoints(frame)) {
        moveTo(frame, at);
        QVERIFY2(frame->cursor().shape() == Qt::ArrowCursor,
                 qPrintable(QStringLiteral("cursor %1 at %2,%3").arg(frame->cursor().shape()).arg(at.x()).arg(at.y())));
    }
    // Dragging a border changes nothing either.
    const QPoint corner(size.width() - 2, size.height() - 2);
    send(frame, QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
    send(frame, QEvent::MouseMove, corner + QPoint(40, 30), Qt::NoButton, Qt::LeftButton);
    send(frame, QEvent::MouseButtonRelease, corner + QPoint(40, 30), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(frame->size(), size);
}

void ChildFrameTest::the_notebook_still_shows_resize_cursors()
{
    // The sizable window keeps its resizing, cursors and all.
    QMdiSubWindow* frame = open(QStringLiteral("notebook"));
    moveTo(frame, QPoint(frame->width() - 2, frame->height() / 2));
    QCOMPARE(frame->cursor().shape(), Qt::SizeHorCursor);
    moveTo(frame, QPoint(frame->width() - 2, frame->height() - 2));
    QCOMPARE(frame->cursor().shape(), Qt::SizeFDiagCursor);
}

void ChildFrameTest::first_click_on_the_close_box_closes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("hoverTitleFirst");
    // Last move over the title text, then one jump onto the close box; or a
    // press with no move at all, as a touch screen gives it.
    QTest::newRow("calculation window, from the title") << QStringLiteral("computerotherparameter") << true;
    QTest::newRow("calculation window, touch") << QStringLiteral("computerotherparameter") << false;
    QTest::newRow("help window, from the title") << QStringLiteral("help") << true;
    QTest::newRow("About window, from the title") << QStringLiteral("about") << true;
    QTest::newRow("notebook, touch") << QStringLiteral("notebook") << false;
}

void ChildFrameTest::first_click_on_the_close_box_closes()
{
    QFETCH(QString, command);
    QFETCH(bool, hoverTitleFirst);
    QPointer<QMdiSubWindow> frame = open(command);
    const QRect closeBox = titleBarControl(frame, QStyle::SC_TitleBarCloseButton);
    QVERIFY(closeBox.isValid());
    if (hoverTitleFirst)
        moveTo(frame, titleBarControl(frame, QStyle::SC_TitleBarLabel).center());
    pressAndRelease(frame, closeBox.center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(frame.isNull());
}

void ChildFrameTest::first_click_on_minimise_from_the_border_minimises()
{
    // The last move on the right border, where a resize starts (as a resize
    // leaves it); then one jump onto the minimise button.
    QMdiSubWindow* frame = open(QStringLiteral("notebook"));
    moveTo(frame, QPoint(frame->width() - 2, frame->height() / 2));
    QCOMPARE(frame->cursor().shape(), Qt::SizeHorCursor);
    pressAndRelease(frame, titleBarControl(frame, QStyle::SC_TitleBarMinButton).center());
    QVERIFY(frame->isMinimized());
}

void ChildFrameTest::tool_window_close_box_is_drawn_as_a_cross()
{
    // Both strokes of the cross reach out towards the box's corners; in the
    // small title bar the base style drew only a dot in the middle.
    QMdiSubWindow* frame = open(QStringLiteral("help"));
    const QRect box = titleBarControl(frame, QStyle::SC_TitleBarCloseButton);
    const QImage image = frame->grab().toImage();
    const auto light = [&](double fx, double fy) {
        return qGray(image.pixel(box.left() + qRound(fx * (box.width() - 1)),
                                 box.top() + qRound(fy * (box.height() - 1))));
    };
    const int background = light(0.5, 0.08);  // above the cross, inside the box
    for (const auto& [fx, fy] : {std::pair{0.3, 0.3}, {0.7, 0.3}, {0.3, 0.7}, {0.7, 0.7}, {0.5, 0.5}})
        QVERIFY2(light(fx, fy) > background + 60,
                 qPrintable(QStringLiteral("at %1,%2: %3 against %4").arg(fx).arg(fy).arg(light(fx, fy)).arg(background)));
}

QTEST_MAIN(ChildFrameTest)
#include "childframe_test.moc"
