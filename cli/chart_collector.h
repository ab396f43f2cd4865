// Gathers the rows of a batch into the points of its chart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch_observer.h"
#include "chartcontent.h"

// Rows with status ok or dew-point-range become points, named by their label
// column or else by their row number; the others are counted as failed. The
// chart is drawn for the first point's B; points of another B keep their
// own d and h, and the legend says how many there are. A `from` column names
// the labels of the points each row's arrows start from ("W;N" for two): the
// arrows then follow it (W → C and N → C both into C) instead of the row order.
class ChartCollector : public BatchObserver {
public:
    // `B` and `altitude` title an empty chart.
    ChartCollector(const ChartRange& range, bool process, double B, std::optional<double> altitude);

    void header(const std::vector<std::string>& columns) override;
    void row(const FinishedRow& row) override;

    // The chart's content, its legend notes included.
    ChartContent content() const;
    long plotted() const { return static_cast<long>(m_content.points.size()); }
    long failed() const { return m_failed; }
    long otherPressure() const { return m_otherPressure; }
    // The first plotted row's υ (2.5 m/s before one): the chart's wet-bulb lines use it.
    double upsilon() const { return m_upsilon; }

private:
    ChartContent m_content;
    int m_labelColumn = -1;
    int m_fromColumn = -1;
    // With a `from` column: every point's label (kept for matching after the
    // labels drawn are dropped) and the label each row's arrow starts from.
    std::vector<std::string> m_names;
    std::vector<std::string> m_from;
    long m_failed = 0;
    long m_otherPressure = 0;
    double m_upsilon = 2.5;
};
