// The start-up probe: the time to the first painted main window, and the memory with every window open.
//
// Measures how long the desktop program takes to show its main window and how
// much memory it holds with one window of each kind open. It starts exactly as
// the program does (QApplication, setUpApplication, the main window, show),
// then opens the windows through the main window's own commands: the
// calculation window, a calculation and a record into the notebook, the help
// window and the About window. Run it on a real display or under Xvfb:
//   xvfb-run -a build-pkg/tests/tools/startup_probe [--bare]
// --bare quits as soon as the main window has been painted (for timing the
// whole process from outside, e.g. with hyperfine).

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <functional>
#include <unistd.h>

#include "appsetup.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "mainwindow.h"

namespace {

double secondsSinceBoot()
{
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// When the kernel started this process, in seconds since boot (field 22 of
// /proc/self/stat, in clock ticks: 10 ms resolution on usual kernels).
double processStartSinceBoot()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name in field 2 may hold spaces; count fields after its ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartTime = 22 - 3;  // fields 3.. follow the name
    if (fields.size() <= kStartTime)
        return -1;
    return fields.at(kStartTime).toDouble() / double(sysconf(_SC_CLK_TCK));
}

// VmRSS and VmHWM (peak) in kB.
std::pair<long, long> residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    long rss = -1, hwm = -1;
    if (!status.open(QIODevice::ReadOnly))
        return {rss, hwm};
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            rss = line.mid(6).trimmed().split(' ').value(0).toLong();
        else if (line.startsWith("VmHWM:"))
            hwm = line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return {rss, hwm};
}

// Runs the event loop until `target` has received a paint event and that
// paint has been handled (a zero timer posted from the paint runs after it).
// Returns false after `timeoutMs` without one.
class PaintWaiter : public QObject {
public:
    bool wait(QWidget* target, int timeoutMs)
    {
        m_target = target;
        m_painted = false;
        target->installEventFilter(this);
        QTimer::singleShot(timeoutMs, &m_loop, &QEventLoop::quit);
        m_loop.exec();
        target->removeEventFilter(this);
        return m_painted;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_target && event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, &m_loop, &QEventLoop::quit);
        }
        return false;
    }

private:
    QWidget* m_target = nullptr;
    bool m_painted = false;
    QEventLoop m_loop;
};

}  // namespace

int main(int argc, char* argv[])
{
    const double atMain = secondsSinceBoot();
    QElapsedTimer clock;
    clock.start();
    const double started = processStartSinceBoot();

    QApplication app(argc, argv);
    const bool bare = QApplication::arguments().contains(QStringLiteral("--bare"));
    const qint64 appMade = clock.nsecsElapsed();
    setUpApplication(app);
    const qint64 setUp = clock.nsecsElapsed();

    fMainform mainWindow;
    const qint64 windowMade = clock.nsecsElapsed();
    mainWindow.show();

    qint64 exposed = -1;
    struct ExposeWatch : QObject {
        qint64* at;
        QElapsedTimer* clock;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Expose && *at < 0)
                *at = clock->nsecsElapsed();
            return false;
        }
    } exposeWatch;
    exposeWatch.at = &exposed;
    exposeWatch.clock = &clock;
    mainWindow.windowHandle()->installEventFilter(&exposeWatch);

    PaintWaiter waiter;
    if (!waiter.wait(&mainWindow, 10000)) {
        std::fprintf(stderr, "startup_probe: the main window was not painted\n");
        return 1;
    }
    const qint64 painted = clock.nsecsElapsed();
    const double sinceExec = started >= 0 ? atMain - started : -1;

    const auto ms = [](qint64 ns) { return double(ns) / 1e6; };
    std::printf("exec -> main (10 ms ticks)      %8.1f ms\n", sinceExec * 1e3);
    std::printf("main -> QApplication            %8.1f ms\n", ms(appMade));
    std::printf("translation + font set-up       %8.1f ms\n", ms(setUp - appMade));
    std::printf("main window constructed         %8.1f ms\n", ms(windowMade - setUp));
    std::printf("main -> main window exposed     %8.1f ms\n", ms(exposed));
    std::printf("main -> main window painted     %8.1f ms\n", ms(painted));
    std::printf("exec -> main window painted     %8.1f ms\n", sinceExec * 1e3 + ms(painted));
    auto [rss, hwm] = residentKb();
    std::printf("%-32s %8.1f MB (peak %.1f MB)\n", "resident, main window", rss / 1024.0,
                hwm / 1024.0);
    if (bare)
        return 0;

    // Each step through the program's own commands, then the time until the
    // new child window has been painted, and the resident memory after it.
    const auto step = [&](const char* what, const std::function<QWidget*()>& open) {
        QElapsedTimer t;
        t.start();
        QWidget* child = open();
        const bool shown = child && waiter.wait(child, 5000);
        const double took = ms(t.nsecsElapsed());
        auto [rss, hwm] = residentKb();
        std::printf("%-32s %8.1f ms  %6.1f MB (peak %.1f MB)%s\n", what, took, rss / 1024.0,
                    hwm / 1024.0, shown ? "" : "  NOT PAINTED");
        return shown;
    };
    const auto subWindowOf = [](QWidget* w) -> QWidget* {
        return w ? w->parentWidget() : nullptr;  // the QMdiSubWindow frame
    };
    const auto trigger = [&](const char* action) {
        QAction* a = mainWindow.findChild<QAction*>(QString::fromLatin1(action));
        if (a)
            a->trigger();
        return a != nullptr;
    };

    bool ok = true;
    ok &= step("+ calculation window", [&]() -> QWidget* {
        return trigger("computerotherparameter") ? subWindowOf(mainWindow.form1()) : nullptr;
    });
    Form1* form = mainWindow.form1();
    ok &= step("+ calculate, record to notebook", [&]() -> QWidget* {
        if (!form)
            return nullptr;
        auto* calculate = form->findChild<QAbstractButton*>(QStringLiteral("Command1"));
        auto* record = form->findChild<QAbstractButton*>(QStringLiteral("Command2"));
        if (!calculate || !record)
            return nullptr;
        calculate->click();
        record->click();
        return subWindowOf(mainWindow.form2());
    });
    ok &= step("+ help window", [&]() -> QWidget* {
        return trigger("help") ? subWindowOf(mainWindow.form3()) : nullptr;
    });
    ok &= step("+ About window", [&]() -> QWidget* {
        return trigger("about") ? subWindowOf(mainWindow.form4()) : nullptr;
    });

    // The notebook must really hold the record, or the figure is for less.
    const QString notebookText =
        mainWindow.form2() ? mainWindow.showNotebook()->richTextBox1()->toPlainText() : QString();
    if (notebookText.trimmed().isEmpty()) {
        std::fprintf(stderr, "startup_probe: the notebook holds no record\n");
        ok = false;
    }
    // A second after, with the About window's scrolling text running.
    QEventLoop settle;
    QTimer::singleShot(1000, &settle, &QEventLoop::quit);
    settle.exec();
    std::tie(rss, hwm) = residentKb();
    std::printf("%-32s %8s     %6.1f MB (peak %.1f MB)\n", "all four open, 1 s later", "",
                rss / 1024.0, hwm / 1024.0);
    return ok ? 0 : 1;
}
