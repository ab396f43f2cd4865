// The screenshot tool: the main window with each kind of child window, rendered into PNGs.
//
// Renders the main window as a user sees it into PNGs, one per scene:
//   screenshot-calc.png      the calculation window after calculating the default inputs
//   screenshot-notebook.png  the notebook with one record of that calculation
//   screenshot-about.png     the About window with its message scrolling in
//   screenshot-help.png      the help window
//   screenshot-chart.png     the 焓湿图 window with the calculation's point,
//                            three pinned points joined by a process, and a reading
// It also prints how dark the small superscript "3" labels and how red the
// marquee's strokes come out in those pictures (their contrast is checked by eye).
// Usage: screenshot OUTPUT_FOLDER   (scripts/screenshot runs it under Xvfb)

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include "appsetup.h"
#include "chartview.h"
#include "chartwindow.h"
#include "form1.h"
#include "form4.h"
#include "glyphcontrast.h"
#include "mainwindow.h"

namespace {

// The part of the picture of window that widget covers, at most width wide.
QImage part(const QImage& picture, fMainform& window, const QWidget* widget, int width = -1)
{
    const QSize size(width < 0 ? widget->width() : qMin(width, widget->width()), widget->height());
    return picture.copy(QRect(widget->mapTo(&window, QPoint(0, 0)), size));
}

void printDarkest(const char* what, const QImage& image)
{
    const QRgb darkest = darkestPixel(image);
    std::printf("%s: darkest pixel %d,%d,%d\n", what, qRed(darkest), qGreen(darkest), qBlue(darkest));
}

void printRedness(const char* what, const QImage& image)
{
    const RedShare share = redShare(image);
    std::printf("%s: %d of %d red pixels full red (red minus green/blue at least 200)\n", what,
                share.fullRed, share.reddish);
}

bool save(fMainform& window, const QDir& folder, const char* name, QImage* picture = nullptr)
{
    QTest::qWait(100);
    const QString path = folder.filePath(QString::fromLatin1(name));
    const QImage image = window.grab().toImage();
    if (picture)
        *picture = image;
    if (!image.save(path)) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

void trigger(fMainform& window, const char* action)
{
    window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
    QTest::qWait(50);
}

void click(QWidget* form, const char* button)
{
    QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: screenshot OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "screenshot: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    setUpApplication(app);

    fMainform window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "screenshot: the main window was not shown\n");
        return 1;
    }

    trigger(window, "computerotherparameter");
    Form1* form = window.form1();
    form->parentWidget()->move(10, 10);
    click(form, "Command1");
    QImage picture;
    if (!save(window, folder, "screenshot-calc.png", &picture))
        return 1;
    printDarkest("superscript 3 of kg/m3", part(picture, window, form->control(QStringLiteral("Label26"))));
    printDarkest("superscript 3 of m3/kg", part(picture, window, form->control(QStringLiteral("Label28"))));

    click(form, "Command2");
    window.mdiArea()->activeSubWindow()->move(40, 60);
    if (!save(window, folder, "screenshot-notebook.png"))
        return 1;
    window.mdiArea()->activeSubWindow()->close();

    trigger(window, "about");
    window.mdiArea()->activeSubWindow()->move(400, 60);
    // Let the message scroll in from the right for a while.
    for (int tick = 0; tick < 120; ++tick)
        window.form4()->Timer1_Timer();
    if (!save(window, folder, "screenshot-about.png", &picture))
        return 1;
    // The strip as far as the window shows it.
    const QWidget* strip = window.form4()->findChild<QWidget*>(QStringLiteral("Picture2"));
    printRedness("marquee", part(picture, window, strip, window.form4()->width()));
    window.mdiArea()->activeSubWindow()->close();

    trigger(window, "help");
    window.mdiArea()->activeSubWindow()->move(400, 60);
    if (!save(window, folder, "screenshot-help.png"))
        return 1;
    window.mdiArea()->activeSubWindow()->close();

    // Room for the chart: the main window as large as the screen allows.
    window.resize(1000, 740);
    trigger(window, "chart");
    window.mdiArea()->activeSubWindow()->showMaximized();
    QTest::qWait(100);
    ChartWindow* chart = window.chartWindow();
    // An air-handling process: outdoor air cooled, then reheated.
    for (DhPoint at : {DhPoint{19.5, 84}, DhPoint{9.0, 36.5}, DhPoint{9.0, 42}})
        chart->pin(at);
    chart->findChild<QCheckBox*>(QStringLiteral("process"))->setChecked(true);
    ChartView* view = chart->view();
    QTest::mouseMove(view, view->mapping().toPage({14, 60}).toPoint());
    return save(window, folder, "screenshot-chart.png") ? 0 : 1;
}
