// Renders the main window as a user sees it into PNGs, one per scene:
//   screenshot-calc.png      the calculation window after calculating the default inputs
//   screenshot-notebook.png  the notebook with one record of that calculation
//   screenshot-about.png     the About window with its message scrolling in
//   screenshot-help.png      the help window
// Usage: screenshot OUTPUT_FOLDER   (scripts/screenshot runs it under Xvfb)

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include "appsetup.h"
#include "form1.h"
#include "form4.h"
#include "mainwindow.h"

namespace {

bool save(fMainform& window, const QDir& folder, const char* name)
{
    QTest::qWait(100);
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!window.grab().save(path)) {
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
    if (!save(window, folder, "screenshot-calc.png"))
        return 1;

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
    if (!save(window, folder, "screenshot-about.png"))
        return 1;
    window.mdiArea()->activeSubWindow()->close();

    trigger(window, "help");
    window.mdiArea()->activeSubWindow()->move(400, 60);
    return save(window, folder, "screenshot-help.png") ? 0 : 1;
}
