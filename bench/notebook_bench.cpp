// A day's notebook: the record button pressed again and again in the real
// main window, then the notebook saved. Times one press at a given notebook
// size, the save of the full notebook, and the peak memory of the process.
// Run with QT_QPA_PLATFORM=offscreen when there is no display.

#include <QApplication>
#include <QtGlobal>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

#include "form1.h"
#include "form2.h"
#include "mainwindow.h"
#include "notebooksave.h"

namespace {

// The records of one notebook make 16 lines each.
constexpr int kLinesPerRecord = 16;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

// One main window for the whole run; the notebook only grows, so the sizes
// are measured in increasing order.
class Session {
public:
    Session()
    {
        m_main.show();
        m_main.computerotherparameter_Click();  // the menu that opens the calculation window
        QApplication::processEvents();
        m_form = m_main.form1();
        if (!m_form || !m_form->isOption1Selected())
            qFatal("the calculation window did not open in its first mode");
        // Real results in the boxes, as after a calculation.
        qobject_cast<QPushButton*>(m_form->control(QStringLiteral("Command1")))->click();
        // A save that failed would wait on a message box; close any at once
        // and let the benchmark report it.
        m_modalGuard.setInterval(50);
        QObject::connect(&m_modalGuard, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                m_sawModal = true;
                modal->close();
            }
        });
        m_modalGuard.start();
    }

    int records() const
    {
        const Form2* notebook = m_main.form2();
        return notebook ? (notebook->richTextBox1()->document()->blockCount() - 1) / kLinesPerRecord : 0;
    }

    // One press of the record button, with the repaint that follows it.
    void press()
    {
        m_form->Command2_Click();
        QApplication::processEvents();
    }

    void growTo(int count)
    {
        while (records() < count)
            press();
    }

    QTextEdit* notebook() const { return m_main.form2()->richTextBox1(); }
    fMainform& main() { return m_main; }
    bool sawModal() const { return m_sawModal; }

private:
    fMainform m_main;
    Form1* m_form = nullptr;
    QTimer m_modalGuard;
    bool m_sawModal = false;
};

Session& session()
{
    static Session s;
    return s;
}

// The press that adds record number `state.range(0)` (the notebook holds one
// fewer before it); with several iterations the later presses add the next
// few records.
void BM_RecordPress(benchmark::State& state)
{
    Session& s = session();
    const int target = int(state.range(0));
    if (target == 1 && s.records() > 0)
        s.notebook()->clear();
    s.growTo(target - 1);
    for (auto _ : state) {
        if (target == 1 && s.records() > 0) {
            state.PauseTiming();
            s.notebook()->clear();
            state.ResumeTiming();
        }
        s.press();
    }
    state.counters["records_after"] = s.records();
    // The notebook's text in memory (UTF-16), in kilobytes.
    state.counters["text_kB"] = s.notebook()->document()->characterCount() * 2 / 1e3;
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_RecordPress)->Arg(1)->Arg(1000)->Arg(5000)->Iterations(20)->Unit(benchmark::kMillisecond);

// The save command on the full notebook, through the menu, to a temporary file.
void BM_SaveNotebook(benchmark::State& state)
{
    Session& s = session();
    s.growTo(int(state.range(0)));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("notebook.doc"));
    s.main().saveCommand()->setFileNameProvider([&](QWidget*) { return name; });
    for (auto _ : state)
        s.main().Savingfiles_Click();
    if (s.sawModal() || !QFileInfo(name).isFile()) {
        state.SkipWithError("the save did not write the file");
        return;
    }
    state.counters["records"] = s.records();
    state.counters["file_MB"] = QFileInfo(name).size() / 1e6;
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_SaveNotebook)->Arg(5000)->Iterations(5)->Unit(benchmark::kMillisecond);

// For comparison: writing the whole text back, as every press once did.
void BM_RewriteWholeText(benchmark::State& state)
{
    Session& s = session();
    s.growTo(int(state.range(0)));
    QTextEdit* notebook = s.notebook();
    const QString text = notebook->toPlainText();
    for (auto _ : state) {
        notebook->setPlainText(text);
        QApplication::processEvents();
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_RewriteWholeText)->Arg(5000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
