// The program with all five child windows open, for looking at it whole (the accessibility dump).
//
// Shows the main window with all five child windows open, through the main
// window's own commands and the record button, and runs until it is closed
// or killed: a scene for looking at the whole program at once, such as the
// dump of its accessibility tree (atspi_dump_test.sh).
// Usage: all_windows

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include "appsetup.h"
#include "form1.h"
#include "mainwindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);

    fMainform window;
    window.show();
    window.findChild<QAction*>(QStringLiteral("computerotherparameter"))->trigger();
    // The notebook opens only from the record button.
    window.form1()->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    window.findChild<QAction*>(QStringLiteral("about"))->trigger();
    window.findChild<QAction*>(QStringLiteral("help"))->trigger();
    window.findChild<QAction*>(QStringLiteral("chart"))->trigger();
    return app.exec();
}
