// Renders the main window with the calculation window open after calculating
// the default inputs, as a user would see it, into a PNG.
// Usage: screenshot OUTPUT.png [--help-window]

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include "appsetup.h"
#include "form1.h"
#include "mainwindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: screenshot OUTPUT.png [--help-window]\n");
        return 2;
    }
    setUpApplication(app);

    fMainform mainWindow;
    mainWindow.show();
    if (!QTest::qWaitForWindowExposed(&mainWindow)) {
        std::fprintf(stderr, "screenshot: the main window was not shown\n");
        return 1;
    }
    mainWindow.findChild<QAction*>(QStringLiteral("computerotherparameter"))->trigger();
    QTest::qWait(50);
    Form1* form = mainWindow.form1();
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    if (args.contains(QStringLiteral("--help-window")))
        mainWindow.findChild<QAction*>(QStringLiteral("help"))->trigger();
    QTest::qWait(100);

    if (!mainWindow.grab().save(args.at(1))) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
