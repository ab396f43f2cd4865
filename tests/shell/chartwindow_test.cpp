// The 焓湿图 window driven as a user drives it: opened from the menu, read by
// pointing, points pinned by clicks and keys, following the calculation
// window, zoomed to its limits and exported.

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QSet>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

#include "chartreading.h"
#include "chartview.h"
#include "chartwindow.h"
#include "display.h"
#include "form1.h"
#include "mainwindow.h"
#include "modalwatch.h"
#include "pair.h"
#include "textbook_design.h"

class ChartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opens_once_filling_the_workspace_and_closes_for_good();
    void read_out_is_the_engines_state_at_the_pointer();
    void click_and_enter_pin_rows_equal_to_the_read_out();
    void follows_every_calculation_with_its_box_texts_and_B();
    void zoom_and_drag_stop_at_the_limits();
    void opens_a_design_with_its_points_and_processes();
    void exports_copies_and_prints_and_keeps_the_old_file_on_failure();

private:
    void trigger(const char* name)
    {
        m_window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    ChartWindow* openChart()
    {
        trigger("chart");
        ChartWindow* chart = m_window->chartWindow();
        QTest::qWait(20);  // laid out at its size
        return chart;
    }
    QString readOut(ChartWindow* chart) const
    {
        return chart->findChild<QLineEdit*>(QStringLiteral("readOut"))->text();
    }
    static QStringList row(ChartWindow* chart, int r)
    {
        auto* table = chart->findChild<QTableWidget*>(QStringLiteral("points"));
        QStringList texts;
        for (int c = 0; c < table->columnCount(); ++c)
            texts << (table->item(r, c) ? table->item(r, c)->text() : QStringLiteral("?"));
        return texts;
    }
    static int rows(ChartWindow* chart)
    {
        return chart->findChild<QTableWidget*>(QStringLiteral("points"))->rowCount();
    }
    static void wheel(ChartView* view, QPoint at, int notches)
    {
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }

    std::unique_ptr<fMainform> m_window;
    std::unique_ptr<ModalWatch> m_watch;
};

void ChartWindowTest::init()
{
    m_watch = std::make_unique<ModalWatch>();
    m_window = std::make_unique<fMainform>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void ChartWindowTest::cleanup()
{
    m_window.reset();
    m_watch.reset();
}

void ChartWindowTest::opens_once_filling_the_workspace_and_closes_for_good()
{
    ChartWindow* chart = openChart();
    QVERIFY(chart && chart->isVisible());
    QMdiSubWindow* sub = m_window->mdiArea()->activeSubWindow();
    QCOMPARE(sub->widget(), chart);
    QCOMPARE(sub->windowTitle(), QStringLiteral("焓湿图"));
    QVERIFY(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    QCOMPARE(sub->size(), m_window->mdiArea()->size().boundedTo(QSize(900, 600)));
    QCOMPARE(chart->minimumSize(), QSize(480, 360));
    // The first range, and B where no calculation has been made.
    QCOMPARE(chart->content().B, 101325.0);
    QCOMPARE(chart->content().range.tMax, 50.0);
    QCOMPARE(rows(chart), 0);

    trigger("chart");
    QCOMPARE(m_window->chartWindow(), chart);
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window->chartWindow());
    QVERIFY(openChart() != nullptr);
    QVERIFY(m_watch->seen().isEmpty());
}

void ChartWindowTest::read_out_is_the_engines_state_at_the_pointer()
{
    ChartWindow* chart = openChart();
    ChartView* view = chart->view();
    const QPoint pixel = view->mapping().toPage({12, 55}).toPoint();
    QTest::mouseMove(view, pixel);
    // The engine's state at the (d, h) the mapping gives for that pixel.
    const DhPoint at = view->mapping().toData(pixel);
    const PairState s = StateFromPair(101325, 2.5, {Quantity::d, at.d}, {Quantity::h, at.h});
    QVERIFY(!s.failure);
    const auto f = [](double v, int decimals) { return QString::fromStdString(FormatFixed(v, decimals)); };
    QCOMPARE(readOut(chart), QStringLiteral("t=%1℃  ψ=%2%  d=%3g/kg干  h=%4kJ/kg干  ts=%5℃  tl=%6℃  Pq=%7Pa")
                                 .arg(f(s.point.t, 2), f(s.point.psi * 100, 2), f(s.point.d, 2), f(s.point.h, 2),
                                      f(s.point.ts, 2), f(s.point.tl, 2), f(s.point.Pq, 0)));

    // Beyond saturation, and off the frame.
    QTest::mouseMove(view, view->mapping().toPage({30, 96}).toPoint());
    QCOMPARE(readOut(chart), QStringLiteral("雾区（ψ>100%）"));
    QTest::mouseMove(view, QPoint(2, 2));
    QCOMPARE(readOut(chart), QString());
    // Deep cold, where ts is not found and tl is beyond its fit: both left out.
    QTest::mouseMove(view, view->mapping().toPage({0.5, -8}).toPoint());
    QVERIFY2(readOut(chart).startsWith(QStringLiteral("t=")) && !readOut(chart).contains(QStringLiteral("tl=")),
             qPrintable(readOut(chart)));
}

void ChartWindowTest::click_and_enter_pin_rows_equal_to_the_read_out()
{
    ChartWindow* chart = openChart();
    ChartView* view = chart->view();
    const QPoint pixel = view->mapping().toPage({10, 50}).toPoint();
    QTest::mouseMove(view, pixel);
    const QString reading = readOut(chart);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, pixel);
    QCOMPARE(rows(chart), 1);
    const QStringList first = row(chart, 0);
    QCOMPARE(first.front(), QStringLiteral("1"));
    for (const QString& value : first.mid(1))
        QVERIFY2(reading.contains(QLatin1Char('=') + value), qPrintable(value + " in " + reading));
    QCOMPARE(chart->content().points.back().label, std::string("1"));

    // The keyboard: the cross-hair moves 0.1 g/kg right (Shift: ten times as
    // far) and 0.5 kJ/kg up; Enter pins it. A click in the fog pins nothing.
    view->setFocus();
    const DhPoint start = *view->crossHair();
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(view->crossHair()->d, start.d + 1.0);
    QCOMPARE(view->crossHair()->h, start.h + 0.5);
    QTest::keyClick(view, Qt::Key_Return);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->mapping().toPage({30, 96}).toPoint());
    QCOMPARE(rows(chart), 2);
    QCOMPARE(row(chart, 1).front(), QStringLiteral("2"));

    // Tab reaches every control, the chart area among them.
    QSet<QString> reached;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QWidget* focus = QApplication::focusWidget(); focus && chart->isAncestorOf(focus))
            reached << focus->objectName();
    }
    QCOMPARE(reached, QSet<QString>({"fullRange", "clear", "process", "openDesign", "export", "copy", "print",
                                     "chartView", "readOut", "points"}));

    // The process joins the pinned points in order; Delete and 清除 remove them.
    chart->findChild<QCheckBox*>(QStringLiteral("process"))->setChecked(true);
    QCOMPARE(chart->content().arrows.size(), std::size_t{1});
    auto* table = chart->findChild<QTableWidget*>(QStringLiteral("points"));
    table->setFocus();
    table->selectRow(0);
    QTest::keyClick(table, Qt::Key_Delete);
    QCOMPARE(rows(chart), 1);
    QCOMPARE(row(chart, 0).front(), QStringLiteral("2"));
    QVERIFY(chart->content().arrows.empty());
    QTest::mouseClick(chart->findChild<QPushButton*>(QStringLiteral("clear")), Qt::LeftButton);
    QCOMPARE(rows(chart), 0);
}

void ChartWindowTest::follows_every_calculation_with_its_box_texts_and_B()
{
    // A calculation made before the window opens shows when it does.
    trigger("computerotherparameter");
    Form1* form = m_window->form1();
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    ChartWindow* chart = openChart();
    QCOMPARE(rows(chart), 1);
    QCOMPARE(row(chart, 0), QStringList({"当前", "27", "46.37", "10.32", "53.60034", "19.03", "14.94"}));

    // The ts-known mode at another B: the row takes the other boxes, the
    // chart and the read-out under the pointer that B.
    ChartView* view = chart->view();
    QTest::mouseMove(view, view->mapping().toPage({8, 40}).toPoint());
    const QString atStandard = readOut(chart);
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("Option2")), Qt::LeftButton);
    form->setBoxText(1, QStringLiteral("90000"));
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(chart->content().B, 90000.0);
    QVERIFY(readOut(chart) != atStandard);
    QCOMPARE(readOut(chart), ReadChart(90000, form->statePoint()->upsilon, *view->crossHair()).text);
    QCOMPARE(row(chart, 0), QStringList({"当前", form->boxText(3), form->boxText(7), form->boxText(8),
                                         form->boxText(9), form->boxText(4), form->boxText(13)}));
    QCOMPARE(chart->content().points.front().label, std::string("当前"));
    QVERIFY(m_watch->seen().isEmpty());
}

void ChartWindowTest::zoom_and_drag_stop_at_the_limits()
{
    ChartWindow* chart = openChart();
    ChartView* view = chart->view();
    const QPoint centre = view->mapping().frame().center().toPoint();
    const DhPoint before = view->mapping().toData(centre);
    wheel(view, centre, 1);
    const ChartRange closer = chart->content().range;
    QVERIFY(closer.dMax - closer.dMin < 35);
    // The place under the pointer stays there.
    QVERIFY(std::abs(view->mapping().toData(centre).d - before.d) < 0.05);
    for (int i = 0; i < 60; ++i)
        wheel(view, view->mapping().frame().center().toPoint(), 1);
    QCOMPARE(chart->content().range.dMax - chart->content().range.dMin, 1.0);
    for (int i = 0; i < 60; ++i)
        wheel(view, view->mapping().frame().center().toPoint(), -1);
    const ChartRange far = chart->content().range;
    QCOMPARE(far.tMax - far.tMin, 150.0);
    QVERIFY(ChartRangeValid(far));

    // Dragging far to the left stops at d = 0.
    QTest::mouseClick(chart->findChild<QPushButton*>(QStringLiteral("fullRange")), Qt::LeftButton);
    const QPoint from = view->mapping().frame().center().toPoint();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    for (int dx = 10; dx <= 400; dx += 10)
        QTest::mouseMove(view, from + QPoint(dx, 0));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, from + QPoint(400, 0));
    QCOMPARE(chart->content().range.dMin, 0.0);
    QCOMPARE(rows(chart), 0);  // a drag pins nothing
    QTest::mouseClick(chart->findChild<QPushButton*>(QStringLiteral("fullRange")), Qt::LeftButton);
    QCOMPARE(chart->content().range.tMin, -10.0);
    QCOMPARE(chart->content().range.dMax, 35.0);
}

void ChartWindowTest::opens_a_design_with_its_points_and_processes()
{
    ChartWindow* chart = openChart();
    chart->pin({10, 50});
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& text) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return file.fileName();
    };
    // A broken file and a design that cannot be built change nothing.
    QVERIFY(!chart->openDesign(write("broken.json", "{\"season\": \"summer\",")));
    QVERIFY(!chart->openDesign(dir.filePath(QStringLiteral("none.json"))));
    QVERIFY(!chart->openDesign(dir.path()));
    QCOMPARE(m_watch->seen().size(), 3);
    QCOMPARE(m_watch->seen().front().title, QStringLiteral("提醒"));
    QVERIFY(m_watch->seen().front().text.contains(QStringLiteral("broken.json")));
    QVERIFY(m_watch->seen()[2].text.endsWith(QStringLiteral("这是文件夹，不是设计文件")));
    QCOMPARE(rows(chart), 1);

    const QString path = write("summer.json", R"({"season": "summer", "system": "primary-return",
        "room": {"t": 22, "rh": 55}, "outdoor": {"t": 35, "ts": 26.9}, "load": {"Q": 3.314, "W": 0.264},
        "fresh_air_ratio": 0.15, "supply": {"dt": 8}})");
    QVERIFY(chart->openDesign(path));
    const DesignResult expected = RunDesign(TextbookSummerDesign());
    QCOMPARE(rows(chart), static_cast<int>(expected.points.size()));
    for (int r = 0; r < rows(chart); ++r) {
        const DesignPoint& p = expected.points[static_cast<std::size_t>(r)];
        QCOMPARE(row(chart, r).mid(0, 5), QStringList({QString::fromStdString(p.name),
                 QString::fromStdString(FormatFixed(p.state.t, 2)), QString::fromStdString(FormatFixed(p.state.psi * 100, 2)),
                 QString::fromStdString(FormatFixed(p.state.d, 2)), QString::fromStdString(FormatFixed(p.state.h, 2))}));
    }
    QCOMPARE(chart->content().arrows.size(), expected.processes.size());
    QCOMPARE(chart->content().guides.size(), std::size_t{2});
    QCOMPARE(m_watch->seen().size(), 3);
}

void ChartWindowTest::exports_copies_and_prints_and_keeps_the_old_file_on_failure()
{
    ChartWindow* chart = openChart();
    chart->pin({10, 50});
    QTemporaryDir dir;
    const std::pair<const char*, QByteArray> kinds[] = {
        {"a.png", QByteArray("\x89PNG")}, {"a.svg", QByteArray("<?xml")}, {"a.pdf", QByteArray("%PDF")}};
    for (const auto& [name, magic] : kinds) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QVERIFY(chart->exportTo(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.read(magic.size()) == magic, name);
    }
    // The clipboard: A5 at 300 dpi, and the SVG; the printer: one landscape page.
    QTest::mouseClick(chart->findChild<QPushButton*>(QStringLiteral("copy")), Qt::LeftButton);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), QSize(2480, 1748));
    QVERIFY(copied->data(QStringLiteral("image/svg+xml")).contains("湿空气焓湿图"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    QVERIFY(chart->printOn(printer));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(QFile(printer.outputFileName()).size() > 1000);
    QVERIFY(m_watch->seen().isEmpty());
    // The buttons bring up the save and print dialogs; cancelled, they do nothing.
    for (const char* button : {"export", "print", "openDesign"})
        QTest::mouseClick(chart->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    QCOMPARE(m_watch->seen().size(), 3);
    QCOMPARE(m_watch->seen()[0].title, QStringLiteral("导出焓湿图"));
    QCOMPARE(m_watch->seen()[1].title, QStringLiteral("打印焓湿图"));
    QCOMPARE(m_watch->seen()[2].title, QStringLiteral("打开设计"));
    m_watch->clear();

    // A path that cannot be written: one 提醒 box naming the file, the old file kept.
    const QString kept = dir.filePath(QStringLiteral("a.png"));
    const QByteArray old = [&] { QFile f(kept); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    QVERIFY(!chart->exportTo(dir.filePath(QStringLiteral("missing/b.png"))));
    QVERIFY(!chart->exportTo(dir.filePath(QStringLiteral("a.txt"))));
    QCOMPARE(m_watch->seen().size(), 2);
    QCOMPARE(m_watch->seen().front().title, QStringLiteral("提醒"));
    QVERIFY(m_watch->seen().front().text.contains(QStringLiteral("b.png")));
    QFile again(kept);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), old);
}

QTEST_MAIN(ChartWindowTest)
#include "chartwindow_test.moc"
