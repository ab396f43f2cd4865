// The 焓湿图 window.
#include "chartwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cerrno>

#include "altitude.h"
#include "chartfile.h"
#include "chartpainter.h"
#include "chartreading.h"
#include "chartview.h"
#include "design_file.h"
#include "messagebox.h"
#include "safefile.h"

namespace {

constexpr double kDefaultUpsilon = 2.5;  // m/s, the calculation window's usual υ
constexpr double kMmPerInch = 25.4;
// The clipboard's picture: A5 landscape at 300 dpi pastes sharp into a report.
constexpr QSizeF kCopyMm{210, 148};
constexpr int kCopyDotsPerInch = 300;
// The table shows this many rows at first; the splitter above it gives the
// chart more room, or the table.
constexpr int kTableRowsShown = 4;

const QString kReminder = QStringLiteral("提醒");

QPushButton* addButton(QHBoxLayout* row, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

ChartWindow::ChartWindow(QWidget* parent)
    : QWidget(parent), m_view(new ChartView), m_readOut(new QLineEdit), m_table(new QTableWidget),
      m_process(new QCheckBox(QStringLiteral("过程线")))
{
    setObjectName(QStringLiteral("ChartWindow"));
    setWindowTitle(QStringLiteral("焓湿图"));
    setMinimumSize(480, 360);

    QHBoxLayout* buttons = makeButtons();

    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setAccessibleName(QStringLiteral("焓湿图区域"));
    m_view->setRange(FirstRange());
    connect(m_view, &ChartView::pointed, this, &ChartWindow::showReading);
    connect(m_view, &ChartView::pinRequested, this, &ChartWindow::pin);

    m_readOut->setObjectName(QStringLiteral("readOut"));
    m_readOut->setAccessibleName(QStringLiteral("读数"));
    m_readOut->setReadOnly(true);

    setUpTable();
    const int rowHeight = m_table->verticalHeader()->defaultSectionSize();
    const int headerHeight = m_table->horizontalHeader()->sizeHint().height();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(buttons);
    auto* chart = new QWidget;
    auto* chartLayout = new QVBoxLayout(chart);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(4);
    chartLayout->addWidget(m_view, 1);
    chartLayout->addWidget(m_readOut);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(chart);
    splitter->addWidget(m_table);
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({sizeHint().height(), headerHeight + kTableRowsShown * rowHeight + 4});
    layout->addWidget(splitter, 1);
    refresh();
}

QHBoxLayout* ChartWindow::makeButtons()
{
    auto* buttons = new QHBoxLayout;
    connect(addButton(buttons, "fullRange", QStringLiteral("全图")), &QPushButton::clicked, this,
            &ChartWindow::fullRange);
    connect(addButton(buttons, "clear", QStringLiteral("清除")), &QPushButton::clicked, this,
            &ChartWindow::clearPinned);
    m_process->setObjectName(QStringLiteral("process"));
    m_process->setAccessibleName(m_process->text());
    buttons->addWidget(m_process);
    connect(m_process, &QCheckBox::toggled, this, &ChartWindow::refresh);
    buttons->addStretch();
    connect(addButton(buttons, "openDesign", QStringLiteral("打开设计…")), &QPushButton::clicked, this,
            &ChartWindow::openDesignFile);
    connect(addButton(buttons, "export", QStringLiteral("导出…")), &QPushButton::clicked, this,
            &ChartWindow::exportChart);
    connect(addButton(buttons, "copy", QStringLiteral("复制")), &QPushButton::clicked, this,
            &ChartWindow::copyChart);
    connect(addButton(buttons, "print", QStringLiteral("打印…")), &QPushButton::clicked, this,
            &ChartWindow::printChart);
    return buttons;
}

void ChartWindow::setUpTable()
{
    const QStringList headers{QStringLiteral("名称"), QStringLiteral("t(℃)"), QStringLiteral("ψ(%)"),
                              QStringLiteral("d(g/kg干)"), QStringLiteral("h(kJ/kg干)"),
                              QStringLiteral("ts(℃)"), QStringLiteral("tl(℃)")};
    m_table->setObjectName(QStringLiteral("points"));
    m_table->setAccessibleName(QStringLiteral("状态点"));
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setMinimumHeight(m_table->horizontalHeader()->sizeHint().height()
                              + m_table->verticalHeader()->defaultSectionSize() + 4);
    auto* remove = new QShortcut(QKeySequence::Delete, m_table, nullptr, nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &ChartWindow::removeSelectedRow);
}

void ChartWindow::setCalculatedPoint(const CalculatedPoint& calculated)
{
    m_calculated = calculated;
    refresh();
}

double ChartWindow::pressure() const
{
    if (m_design)
        return m_design->B;
    return m_calculated ? m_calculated->point.B : kStandardPressure;
}

double ChartWindow::upsilon() const
{
    if (m_design)
        return m_design->upsilon;
    return m_calculated ? m_calculated->point.upsilon : kDefaultUpsilon;
}

const ChartContent& ChartWindow::content() const
{
    return m_view->content();
}

void ChartWindow::showReading(std::optional<DhPoint> at)
{
    m_readOut->setText(at ? ReadChart(pressure(), upsilon(), *at).text : QString());
}

void ChartWindow::pin(DhPoint at)
{
    const ChartReading reading = ReadChart(pressure(), upsilon(), at);
    if (reading.values.isEmpty())
        return;
    const QString name = QString::number(m_nextNumber++);
    m_rows.push_back({{at.d, at.h, name.toStdString(), {}, false}, QStringList{name} + reading.values, true});
    refresh();
}

void ChartWindow::refresh()
{
    ChartContent content;
    content.B = pressure();
    std::vector<QStringList> rows;
    if (m_calculated) {
        ChartPoint current = ChartPointOf(m_calculated->point, "当前", false);
        current.otherPressure = m_calculated->point.B != content.B;
        content.points.push_back(current);
        rows.push_back(QStringList{QStringLiteral("当前")} + m_calculated->texts);
    }
    const std::size_t first = content.points.size();
    for (const Row& row : m_rows) {
        content.points.push_back(row.point);
        rows.push_back(row.values);
    }
    const auto index = [&](const QString& name) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].values.front() == name)
                return first + i;
        return std::nullopt;
    };
    if (m_design) {
        for (const auto& [from, to] : m_design->arrows)
            if (const auto a = index(from), b = index(to); a && b)
                content.arrows.emplace_back(*a, *b);
        content.guides = m_design->guides;
        content.notes = m_design->notes;
    }
    // 过程线 joins the pinned points in the table's order.
    std::optional<std::size_t> previous;
    for (std::size_t i = 0; m_process->isChecked() && i < m_rows.size(); ++i) {
        if (!m_rows[i].pinned)
            continue;
        if (previous)
            content.arrows.emplace_back(*previous, first + i);
        previous = first + i;
    }
    content.process = !content.arrows.empty();
    m_view->setContent(std::move(content));
    // A new B changes the state under the cross-hair.
    showReading(m_view->crossHair());

    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < m_table->rowCount(); ++r)
        for (int c = 0; c < m_table->columnCount(); ++c)
            m_table->setItem(r, c, cell(rows[r].value(c)));
}

void ChartWindow::removeSelectedRow()
{
    const int row = m_table->currentRow() - (m_calculated ? 1 : 0);
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    m_rows.erase(m_rows.begin() + row);
    refresh();
}

void ChartWindow::fullRange()
{
    m_view->setRange(FirstRange());
}

void ChartWindow::clearPinned()
{
    m_rows.clear();
    m_design.reset();
    m_nextNumber = 1;
    refresh();
}

bool ChartWindow::exportTo(const QString& path)
{
    ChartFile file(path);
    if (file.open() && file.write(content()))
        return true;
    ShowMessage(this, kReminder, file.errorMessage());
    return false;
}

void ChartWindow::exportChart()
{
    const QStringList filters{QStringLiteral("PNG 图片 (*.png)"), QStringLiteral("SVG 矢量图 (*.svg)"),
                              QStringLiteral("PDF 文件 (*.pdf)")};
    QString filter = filters.front();
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出焓湿图"), QString(),
                                                filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return;
    // A name typed without an ending takes the chosen type's.
    if (QFileInfo(path).suffix().isEmpty())
        path += filter.mid(filter.indexOf(QLatin1String("*.")) + 1).chopped(1);
    exportTo(path);
}

void ChartWindow::copyChart()
{
    auto* data = new QMimeData;
    data->setImageData(ChartImage(content(), kCopyMm, kCopyDotsPerInch));
    data->setData(QStringLiteral("image/svg+xml"), ChartSvg(content()));
    QApplication::clipboard()->setMimeData(data);
}

bool ChartWindow::printOn(QPrinter& printer) const
{
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    ChartPainter(painter, content(), page.size(), printer.resolution() / kMmPerInch).paint();
    return painter.end();
}

void ChartWindow::printChart()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印焓湿图"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!printOn(printer))
        ShowMessage(this, kReminder, QStringLiteral("焓湿图未能打印：打印机不接受绘图"));
}

bool ChartWindow::openDesign(const QString& path)
{
    const auto refuse = [&](const QString& why) {
        ShowMessage(this, kReminder, QStringLiteral("无法打开设计文件“%1”：%2").arg(path, why));
        return false;
    };
    if (QFileInfo(path).isDir())
        return refuse(QStringLiteral("这是文件夹，不是设计文件"));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return refuse(errno ? QString::fromStdString(SystemErrorText(errno)) : QStringLiteral("无法读取"));
    if (file.size() > static_cast<qint64>(kMaxDesignBytes))
        return refuse(QStringLiteral("文件太大，设计文件不超过 1 MiB"));
    const QByteArray text = file.read(static_cast<qint64>(kMaxDesignBytes) + 1);
    const DesignFile design = ReadDesign(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!design.input)
        return refuse(QString::fromStdString(design.error));
    const DesignResult result = RunDesign(*design.input);
    if (result.failure)
        return refuse(QString::fromStdString(DesignFailureMessage(result.failure)));

    const ChartContent drawn = DesignChartContent(result, design.input->B, design.altitude);
    Design kept{design.input->B, design.input->upsilon, {}, drawn.guides, drawn.notes};
    for (const auto& [from, to] : result.processes)
        kept.arrows.emplace_back(QString::fromStdString(from), QString::fromStdString(to));
    std::vector<Row> rows;
    for (std::size_t i = 0; i < result.points.size(); ++i) {
        const DesignPoint& p = result.points[i];
        rows.push_back({drawn.points[i], QStringList{QString::fromStdString(p.name)} + ChartValues(p.state, p.wetBulbFound),
                        false});
    }
    m_rows = std::move(rows);
    m_design = std::move(kept);
    m_nextNumber = 1;
    refresh();
    return true;
}

void ChartWindow::openDesignFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打开设计"), QString(),
                                                      QStringLiteral("设计文件 (*.json)"));
    if (!path.isEmpty())
        openDesign(path);
}
