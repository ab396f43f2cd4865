// The 焓湿图 window: the h–d chart that follows the calculation window, reads
// the state under the pointer, pins points, and exports, copies and prints.
#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

#include "chartcontent.h"
#include "statepoint.h"

class ChartView;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QPrinter;
class QTableWidget;

// The calculation window's last state point, with its boxes' texts for t, ψ,
// d, h, ts and tl exactly as they stood after 计 算.
struct CalculatedPoint {
    StatePoint point;
    QStringList texts;
};

class ChartWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChartWindow(QWidget* parent = nullptr);

    // Shows the calculation window's point as the row "当前" and on the chart,
    // drawn for its B; its υ is the one the read-out uses.
    void setCalculatedPoint(const CalculatedPoint& calculated);

    // Pins the state at `at` as the next numbered row; nothing off the chart
    // or where there is no state.
    void pin(DhPoint at);
    // Draws the design in the JSON file at `path` with its processes, its
    // points in the table in place of the pinned ones, for the design's B.
    // A file that cannot be read, or no design, or one that cannot be built:
    // one "提醒" box says why and nothing changes.
    bool openDesign(const QString& path);
    // What the chart shows now: range, B, points and processes.
    const ChartContent& content() const;
    ChartView* view() const { return m_view; }

    // Writes the chart to `path` (its ending chooses PNG, SVG or PDF); on
    // failure the earlier file is kept and one "提醒" box names the reason.
    bool exportTo(const QString& path);
    // Draws the chart on one landscape page of `printer`.
    bool printOn(QPrinter& printer) const;
    // The first range, −10 … 50 ℃ and 0 … 35 g/kg.
    static ChartRange FirstRange() { return {}; }

    QSize sizeHint() const override { return {900, 600}; }

public slots:
    void fullRange();     // 全图
    void clearPinned();   // 清除
    void exportChart();   // 导出…
    void copyChart();     // 复制
    void printChart();    // 打印…
    void openDesignFile();  // 打开设计…

private:
    struct Row {
        ChartPoint point;
        QStringList values;  // name, t, ψ, d, h, ts, tl as the table shows them
        bool pinned;         // joined by 过程线; a design's points carry their own processes
    };
    // A design's own: its B and υ, its processes by row name, its dashed lines.
    struct Design {
        double B;
        double upsilon;
        std::vector<std::pair<QString, QString>> arrows;
        std::vector<DhSegment> guides;
        std::vector<std::string> notes;
    };
    QHBoxLayout* makeButtons();
    void setUpTable();
    void showReading(std::optional<DhPoint> at);
    void removeSelectedRow();
    // Rebuilds the table and the chart's points from the kept state.
    void refresh();
    double upsilon() const;
    double pressure() const;

    ChartView* m_view;
    QLineEdit* m_readOut;
    QTableWidget* m_table;
    QCheckBox* m_process;
    std::optional<CalculatedPoint> m_calculated;
    std::vector<Row> m_rows;
    std::optional<Design> m_design;
    int m_nextNumber = 1;
};
