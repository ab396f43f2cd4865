// main() of nimbara, the desktop program: a display check, the set-up, the main window.
#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "appsetup.h"
#include "mainwindow.h"

namespace {

bool hasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Qt's own message for a missing display names platform plugins; say
    // plainly what is wrong and how to start the program anyway.
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "nimbara: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                     "to run without one, start it under Xvfb: xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "nimbara");
        return 1;
    }

    // A save past the file size limit (ulimit -f) then fails with a reason
    // to show, instead of ending the program with the notebook in it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    setUpApplication(app);

    fMainform mainWindow;
    mainWindow.show();
    return app.exec();
}
